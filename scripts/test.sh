#!/usr/bin/env bash
# Builds the program and runs every test, in three stages:
#  1. the typed-byte fuzzer (clang, libFuzzer, ASan and UBSan) for a minute;
#  2. the whole suite built with AddressSanitizer, UndefinedBehaviorSanitizer
#     and LeakSanitizer, the end-to-end runs of the demo included;
#  3. the whole suite in the ordinary build, warnings as errors, with
#     clang-tidy and cppcheck.
# No test touches a real I/O port. PP_TEST_EXCLUDE=REGEX leaves out of the
# last stage the tests whose label it matches (CI's 32-bit stage:
# emulated|static), and PP_TEST_STAGES names the stages to run, of "fuzz
# sanitizers tests" (CI's other roots leave out what the first stage has run).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
jobs=$(nproc)
common=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DPP_WERROR=ON)

stages=" ${PP_TEST_STAGES:-fuzz sanitizers tests} "
for stage in $stages; do
    case $stage in fuzz | sanitizers | tests) ;; *) echo "No stage '$stage'" >&2; exit 2 ;; esac
done

if [[ $stages == *" fuzz "* ]]; then
    echo "== Fuzzing"
    CXX=clang++ cmake -S . -B build-fuzz "${common[@]}" -DPP_FUZZ=ON -DPP_FUZZ_SECONDS=60
    cmake --build build-fuzz -j "$jobs" --target typed_byte_fuzz
    ctest --test-dir build-fuzz -L fuzz --output-on-failure
fi

if [[ $stages == *" sanitizers "* ]]; then
    echo "== Sanitizers"
    cmake -S . -B build-asan "${common[@]}" -DPP_SANITIZE=ON
    cmake --build build-asan -j "$jobs"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
        LSAN_OPTIONS="suppressions=\"$PWD/tests/sanitizers/lsan.supp\":fast_unwind_on_malloc=0" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir build-asan --output-on-failure -j "$jobs"
fi

if [[ $stages == *" tests "* ]]; then
    echo "== Tests and static checks${PP_TEST_EXCLUDE:+ (all but the tests labelled $PP_TEST_EXCLUDE)}"
    cmake -S . -B build-test "${common[@]}" -DPP_STATIC_CHECKS=ON
    cmake --build build-test -j "$jobs"
    ctest --test-dir build-test --output-on-failure -j "$jobs" ${PP_TEST_EXCLUDE:+-LE "$PP_TEST_EXCLUDE"}
fi
