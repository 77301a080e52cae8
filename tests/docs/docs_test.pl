#!/usr/bin/perl
# The documents a user reads (README.md, the Windows LEEME.txt, the manual
# pages as built) against the program itself: they quote none of its
# messages, whose texts live only in the program; they name no option the
# programs' --help lacks; and they say which Windows gets which build in the
# words the installer uses (packaging/windows/which_build.txt).
# Usage: docs_test.pl SOURCE_DIR PROGRAMS_DIR MANUALS_DIR
use strict;
use warnings;
use utf8;

binmode STDOUT, ':utf8';
my ($src, $programs, $manuals) = @ARGV;
die "usage: docs_test.pl SOURCE_DIR PROGRAMS_DIR MANUALS_DIR\n" unless defined $manuals;

sub slurp {
    my ($path) = @_;
    open my $file, '<:utf8', $path or die "cannot read $path: $!\n";
    local $/;
    return <$file>;
}
sub words { my @w = split ' ', $_[0]; return scalar @w; }
sub squeeze { my ($t) = @_; $t =~ s/\s+/ /g; $t =~ s/^ | $//g; return $t; }

# The program's texts: its string literals, those written side by side
# joined as the compiler joins them, escapes read, comments, character
# literals and digit separators passed over. Not the options' table, whose
# manual paragraphs the manual pages are made to hold.
my (@texts, $files);
for my $path (split /\n/, `find "$src/core" "$src/port" "$src/ui" -name '*.cpp' -o -name '*.h'`) {
    next if $path =~ m{/ui/options\.cpp$};
    my $code = slurp($path) =~ s/(?<=[0-9A-Fa-f])'(?=[0-9A-Fa-f])//gr;
    my ($text, $gap, $read) = (undef, '', 0);
    while ($code =~ m{\G(?:"((?:[^"\\]|\\.)*)"|('(?:[^'\\]|\\.)*'|//[^\n]*|/\*.*?\*/|[^"'/]+|/))}gs) {
        $read = pos($code);
        if (defined $1) {
            (my $piece = $1) =~ s/\\n/ /g;
            $piece =~ s/\\(.)/$1/g;
            push @texts, squeeze($text) if defined $text && $gap !~ /^\s*$/;
            $text = defined $text && $gap =~ /^\s*$/ ? $text . $piece : $piece;
            $gap = '';
        } else {
            $gap .= $2;
        }
    }
    die "$path: read up to character $read of " . length($code) . "\n" if $read != length($code);
    push @texts, squeeze($text) if defined $text;
    $files++;
}
my %seen;
my @messages = grep { words($_) >= 4 && !$seen{$_}++ } @texts;
die "only " . scalar(@messages) . " texts read from $files files of the program\n" if @messages < 50;

# The documents as a reader sees them: the manual pages without troff's
# markup, the Markdown without its emphasis and code marks.
sub plain_manual {
    my ($page) = @_;
    $page =~ s/^\.\\".*$//mg;
    $page =~ s/^\.[A-Za-z]+ ?//mg;
    $page =~ s/\\f[BIRP]//g;
    $page =~ s/\\-/-/g;
    $page =~ s/\\\(en/–/g;
    $page =~ s/\\\(aq/'/g;
    $page =~ s/\\e/\\/g;
    $page =~ s/\\&//g;
    $page =~ s/"//g;
    return $page;
}
my %documents = (
    'README.md' => slurp("$src/README.md") =~ s/\*\*|`//gr,
    'LEEME.txt' => slurp("$src/packaging/windows/LEEME.txt"),
);
for my $page (qw(puerto-paralelo puerto-paralelo-demo)) {
    $documents{"$page.1"} = plain_manual(slurp("$manuals/$page.1"));
}
$_ = squeeze($_) for values %documents;

# The programs' options (their --help), and which Windows gets which build
# in the installer's words.
my %options;
for my $program (qw(puerto-paralelo puerto-paralelo-demo)) {
    my $help = `"$programs/$program" --help`;
    die "$program --help failed\n" if $? != 0;
    $options{$1} = 1 while $help =~ /^  (?:-h, )?(--[a-z]+)/mg;
}
die "no options in --help\n" unless %options;
my $builds = squeeze(slurp("$src/packaging/windows/which_build.txt"));
die "which_build.txt says nothing\n" if words($builds) < 10;

my $failures = 0;
sub fail { print "FAIL  $_[0]\n"; $failures++; }

for my $name (sort keys %documents) {
    my $text = $documents{$name};
    # No message quoted, in quotation marks or word for word.
    while ($text =~ /«([^»]*)»|“([^”]*)”|"([^"]*)"/g) {
        my $quote = $1 // $2 // $3;
        for my $fragment (split /…|\.\.\./, $quote) {
            $fragment = squeeze($fragment);
            next if words($fragment) < 4;
            my ($message) =
                grep { index($_, $fragment) >= 0 || index($fragment, $_) >= 0 } @messages;
            fail("$name quotes a message of the program: «$quote» (the program says: $message)")
                if defined $message;
        }
    }
    for my $message (grep { words($_) >= 6 } @messages) {
        fail("$name has a message of the program word for word: $message")
            if index($text, $message) >= 0;
    }
    # No long option but the programs' own: the documents a user reads name
    # no other command's.
    while ($text =~ /(?<![\w-])(--[a-z][a-z-]*)/g) {
        fail("$name names $1, which the programs do not have") unless $options{$1};
    }
    fail("$name does not say which Windows gets which build as the installer does: $builds")
        if $name =~ /^(README|LEEME)/ && index($text, $builds) < 0;
}

print $failures ? "$failures faults in the documents\n"
    : "documents: no message quoted, every option real, the builds as the installer says\n";
exit($failures > 0);
