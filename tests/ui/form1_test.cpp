// The main window, offscreen: its controls, focus, keys and exit.
#include "ui/qt/main_window.h"

#include "resources/puerto_paralelo.xpm"
#include "tests/support/recording_port.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <clocale>
#include <memory>
#include <vector>

using pp::PortByte;

namespace {

struct Expected {
    const char* name;
    const char* kind; // Qt class
    const char* caption;
    QRect pixels; // at 96 dpi
    bool keypadFont;
};

// Every control as it must appear, in tab order. Pixels are twips / 15.
const std::vector<Expected> Controls = {
    {"Command1", "QPushButton", "Sacar Dato", {24, 168, 65, 25}, false},
    {"Command2", "QPushButton", "Salir", {104, 168, 57, 25}, false},
    {"Text1", "QLineEdit", "", {144, 16, 49, 19}, false},
    {"Label1", "QLabel", "Introdusca el dato a sacar", {8, 16, 129, 17}, false},
    {"Command4", "QPushButton", "1", {8, 40, 41, 25}, true},
    {"Command5", "QPushButton", "2", {56, 40, 41, 25}, true},
    {"Command6", "QPushButton", "3", {104, 40, 41, 25}, true},
    {"Command7", "QPushButton", "4", {8, 72, 41, 25}, true},
    {"Command8", "QPushButton", "5", {56, 72, 41, 25}, true},
    {"Command9", "QPushButton", "6", {104, 72, 41, 25}, true},
    {"Command10", "QPushButton", "7", {8, 104, 41, 25}, true},
    {"Command11", "QPushButton", "8", {56, 104, 41, 25}, true},
    {"Command12", "QPushButton", "9", {104, 104, 41, 25}, true},
    {"Command13", "QPushButton", "0", {8, 136, 41, 25}, true},
    {"Command14", "QPushButton", "A", {56, 136, 41, 25}, true},
    {"Command15", "QPushButton", "B", {104, 136, 41, 25}, true},
    {"Command16", "QPushButton", "C", {152, 40, 41, 25}, true},
    {"Command17", "QPushButton", "D", {152, 72, 41, 25}, true},
    {"Command18", "QPushButton", "E", {152, 104, 41, 25}, true},
    {"Command19", "QPushButton", "F", {152, 136, 41, 25}, true},
    {"Picture1", "QLabel", "", {16, 208, 32, 32}, false},
    {"Label2",
     "QLabel",
     "Manejo del puerto paralelo en Tessavon      por Dravenko",
     {56, 208, 137, 41},
     false},
};

// What each key must write.
const std::vector<std::pair<const char*, PortByte>> KeyCodes = {
    {"Command13", 0x3F}, {"Command4", 0x06},  {"Command5", 0x5B},  {"Command6", 0x4F},
    {"Command7", 0x66},  {"Command8", 0x6D},  {"Command9", 0x7D},  {"Command10", 0x07},
    {"Command11", 0x7F}, {"Command12", 0x6F}, {"Command14", 0x77}, {"Command15", 0x7C},
    {"Command16", 0x39}, {"Command17", 0x5E}, {"Command18", 0x79}, {"Command19", 0x71},
};

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return qobject_cast<QLineEdit*>(widget)->text();
}

// Dismisses the next message box with its OK button, noting what it showed
// and what Text1 held while it was up.
class MessageCatcher {
public:
    explicit MessageCatcher(QLineEdit* text) {
        QObject::connect(&timer_, &QTimer::timeout, [this, text] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            timer_.stop();
            ++shown;
            title = box->windowTitle();
            message = box->text();
            icon = box->icon();
            buttons = box->buttons().size();
            applicationModal = box->windowModality() == Qt::ApplicationModal;
            textWhileShown = text->text();
            box->button(QMessageBox::Ok)->click();
        });
        timer_.start(5);
    }

    int shown = 0;
    QString title, message, textWhileShown;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype buttons = 0;
    bool applicationModal = false;

private:
    QTimer timer_;
};

} // namespace

class Form1Test : public QObject {
    Q_OBJECT

private:
    pp::testing::RecordingPort port;
    std::unique_ptr<pp::Form1> form;

    template <typename T = QWidget> T* control(const char* name) {
        auto* widget = form->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            qFatal("no control %s", name);
        }
        return widget;
    }

private slots:
    void init() {
        port.writes.clear();
        form = std::make_unique<pp::Form1>(port);
        form->showCentred();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    void windowHasItsCaptionSizeAndIcon() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Puerto Paralelo"));
        QCOMPARE(form->size(), QSize(207, 255));
        QVERIFY(!form->windowIcon().isNull());
        QVERIFY(form->layout() == nullptr);
        const QRect area = form->screen()->availableGeometry();
        QVERIFY2((form->geometry().center() - area.center()).manhattanLength() <= 2,
                 "window is centred on the screen");
    }

    void everyControlIsWhereAndWhatItShouldBe() {
        const auto children = form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(children.size(), static_cast<qsizetype>(Controls.size()));
        const QFont windowFont = form->font();
        for (const Expected& expected : Controls) {
            QWidget* widget = control(expected.name);
            const QByteArray name(expected.name);
            QVERIFY2(widget->inherits(expected.kind), name);
            QCOMPARE(QByteArray(widget->metaObject()->className()), QByteArray(expected.kind));
            QCOMPARE(widget->geometry(), expected.pixels);
            QCOMPARE(captionOf(widget), QString::fromUtf8(expected.caption));
            const QFont font = widget->font();
            if (expected.keypadFont) {
                QCOMPARE(font.family(), QStringLiteral("MS Sans Serif"));
                QCOMPARE(font.pointSizeF(), 8.25);
                QCOMPARE(font.weight(), QFont::Bold);
                QVERIFY2(!font.italic() && !font.underline() && !font.strikeOut(), name);
            } else {
                QVERIFY2(font == windowFont, name);
                QVERIFY2(font.weight() == QFont::Normal, name);
            }
        }
    }

    // The desktops' default fonts: plain X and Xfce, GNOME, KDE. Whichever the
    // user has, every caption shows whole in its fixed box.
    void everyCaptionShowsWholeWhateverTheDesktopFont_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::newRow("DejaVu Sans 9") << "DejaVu Sans" << 9.0;
        QTest::newRow("Cantarell 11") << "Cantarell" << 11.0;
        QTest::newRow("Noto Sans 10") << "Noto Sans" << 10.0;
    }
    void everyCaptionShowsWholeWhateverTheDesktopFont() {
        QFETCH(QString, family);
        QFETCH(double, points);
        QFont desktop(family);
        desktop.setPointSizeF(points);
        QCOMPARE(QFontInfo(desktop).family(), family); // the desktop's font is installed
        const auto restore =
            qScopeGuard([saved = QApplication::font()] { QApplication::setFont(saved); });
        QApplication::setFont(desktop);
        form = std::make_unique<pp::Form1>(port);
        form->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));

        for (const Expected& expected : Controls) {
            QWidget* widget = control(expected.name);
            const QString caption = captionOf(widget);
            const QByteArray name(expected.name);
            const QFont font = widget->font();
            QVERIFY2(font.pointSizeF() >= 8.0, name);
            const QFontMetrics metrics(font);
            if (auto* label = qobject_cast<QLabel*>(widget);
                label != nullptr && !caption.isEmpty()) {
                const QRect box = label->contentsRect();
                const QRect text = metrics.boundingRect(QRect(0, 0, box.width(), 10000),
                                                        Qt::TextWordWrap, caption);
                QVERIFY2(text.height() <= box.height(),
                         name + " needs " + QByteArray::number(text.height()) + " px");
                QVERIFY2(text.width() <= box.width(), name);
            } else if (qobject_cast<QPushButton*>(widget) != nullptr) {
                // Clear of the frame and a margin on each side.
                const int room = widget->width() - 2 * 4;
                QVERIFY2(metrics.horizontalAdvance(caption) < room,
                         name + " needs " + QByteArray::number(metrics.horizontalAdvance(caption)) +
                             " of " + QByteArray::number(room) + " px");
                QVERIFY2(metrics.height() <= widget->height() - 2 * 4, name);
            }
            QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
        }
    }

    // What a screen reader names each control by: its caption; Text1 by the
    // prompt beside it, labelled by Label1; the picture by what it shows.
    void aScreenReaderNamesEveryControl() {
        for (const Expected& expected : Controls) {
            QAccessibleInterface* control =
                QAccessible::queryAccessibleInterface(this->control(expected.name));
            QString name = QString::fromUtf8(expected.caption);
            if (name.isEmpty()) {
                name = expected.name == QByteArray("Text1")
                           ? QStringLiteral("Introdusca el dato a sacar")
                           : QStringLiteral("Icono de Puerto Paralelo: el conector de un cable de "
                                            "puerto paralelo");
            }
            QCOMPARE(control->text(QAccessible::Name), name);
        }
        const auto labels =
            QAccessible::queryAccessibleInterface(control("Text1"))->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.front().first->object(), control("Label1"));
        QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("Introdusca el dato a sacar"));
        QCOMPARE(QAccessible::queryAccessibleInterface(control("Picture1"))->role(),
                 QAccessible::Graphic);
    }

    void labelsWrapInTheirBoxAndTakeNoFocus() {
        for (const char* name : {"Label1", "Label2"}) {
            auto* label = control<QLabel>(name);
            QVERIFY(label->wordWrap());
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->frameShape(), QFrame::NoFrame);
            QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        }
    }

    // At the screen's scale (the suite runs at 100 % and 200 %) each pixel of
    // the 32 x 32 design is a sharp square block.
    void pictureShowsTheIconAtItsNaturalSizeSharpAtAnyScale() {
        auto* picture = control<QLabel>("Picture1");
        const QPixmap pixmap = picture->pixmap();
        QCOMPARE(QSizeF(pixmap.size()) / pixmap.devicePixelRatio(), QSizeF(32, 32));
        QVERIFY(pixmap.hasAlphaChannel());
        QCOMPARE(picture->frameShape(), QFrame::NoFrame);
        const int scale = qRound(picture->devicePixelRatioF());
        const QImage shown = picture->grab().toImage();
        QCOMPARE(shown.size(), QSize(32, 32) * scale);
        const QImage design = QImage(puerto_paralelo_xpm).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb pixel = design.pixel(x / scale, y / scale);
                QVERIFY2(
                    qAlpha(pixel) == 0 || shown.pixel(x, y) == pixel,
                    qPrintable(QStringLiteral("pixel %1,%2 at %3 x").arg(x).arg(y).arg(scale)));
            }
        }
    }

    void textBoxStartsEmptyWithoutLengthLimit() {
        auto* text = control<QLineEdit>("Text1");
        QVERIFY(text->text().isEmpty());
        const QString large(100000, QLatin1Char('9'));
        text->setText(large);
        QCOMPARE(text->text().size(), large.size());
    }

    void startsWithFocusOnSacarDatoAndNothingWritten() {
        QCOMPARE(QApplication::focusWidget(), control("Command1"));
        QVERIFY(port.writes.empty());
    }

    void tabWalksTheControlsInOrder() {
        QStringList walk;
        for (int i = 0; i < 20; ++i) {
            walk << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        walk << QApplication::focusWidget()->objectName();
        QStringList expected = {"Command1", "Command2", "Text1"};
        for (int n = 4; n <= 19; ++n) {
            expected << QStringLiteral("Command%1").arg(n);
        }
        expected << "Command1";
        QCOMPARE(walk.mid(0, expected.size()), expected);
    }

    void noButtonIsDefault() {
        for (auto* button : form->findChildren<QPushButton*>()) {
            QVERIFY2(!button->isDefault() && !button->autoDefault(),
                     qPrintable(button->objectName()));
        }
    }

    void enterAndEscapeDoNothing() {
        auto* text = control<QLineEdit>("Text1");
        text->setFocus();
        QTest::keyClicks(text, QStringLiteral("200"));
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClick(text, Qt::Key_Enter);
        QTest::keyClick(text, Qt::Key_Escape);
        QTest::keyClick(control("Command4"), Qt::Key_Return);
        QVERIFY(port.writes.empty());
        QCOMPARE(text->text(), QStringLiteral("200"));
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(form->isVisible());
    }

    void resizingMovesNothing() {
        for (const QSize size : {QSize(90, 80), QSize(640, 480), QSize(207, 255)}) {
            form->resize(size);
            QTest::qWait(1);
            for (const Expected& expected : Controls) {
                QCOMPARE(control(expected.name)->geometry(), expected.pixels);
            }
        }
    }

    void eachKeyWritesItsSegmentCode() {
        for (const auto& [name, code] : KeyCodes) {
            port.writes.clear();
            QTest::mouseClick(control(name), Qt::LeftButton);
            QCOMPARE(port.writes, std::vector<PortByte>{code});
        }
    }

    void keysWriteAgainAndLeaveTheTextAlone() {
        auto* text = control<QLineEdit>("Text1");
        text->setText(QStringLiteral("  12abc"));
        QTest::mouseClick(control("Command14"), Qt::LeftButton);
        QTest::mouseClick(control("Command14"), Qt::LeftButton);
        QTest::keyClick(control("Command11"), Qt::Key_Space);
        QCOMPARE(port.writes, (std::vector<PortByte>{0x77, 0x77, 0x7F}));
        QCOMPARE(text->text(), QStringLiteral("  12abc"));
    }

    void sacarDatoWritesTheTypedByteAndClearsTheText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("written");
        QTest::newRow("200") << "200" << 0xC8;
        QTest::newRow("hex") << "&HFF" << 0xFF;
        QTest::newRow("octal") << "&o377" << 0xFF;
        QTest::newRow("exponent") << "2.55E2" << 0xFF;
        QTest::newRow("tie to even") << "254.5" << 0xFE;
        QTest::newRow("letters") << "abc" << 0x00;
        QTest::newRow("blank") << " " << 0x00;
        QTest::newRow("comma") << "3,5" << 0x03;
    }
    void sacarDatoWritesTheTypedByteAndClearsTheText() {
        QFETCH(QString, typed);
        QFETCH(int, written);
        auto* text = control<QLineEdit>("Text1");
        text->setFocus();
        QTest::keyClicks(text, typed);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QCOMPARE(port.writes, std::vector<PortByte>{static_cast<PortByte>(written)});
        QVERIFY(text->text().isEmpty());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void sacarDatoReadsThePeriodWhateverTheLocale() {
        // The application took the user's locale at start; the tests run in
        // one whose decimal separator is the comma.
        QCOMPARE(QString::fromLatin1(std::localeconv()->decimal_point), QStringLiteral(","));
        auto* text = control<QLineEdit>("Text1");
        for (const char* typed : {"2.5", "254.5", "3,5", "2.55E2", "1,9"}) {
            text->setText(QString::fromLatin1(typed));
            control<QPushButton>("Command1")->click();
        }
        QCOMPARE(port.writes, (std::vector<PortByte>{0x02, 0xFE, 0x03, 0xFF, 0x01}));
    }

    void sacarDatoRefusesAnEmptyText() {
        auto* text = control<QLineEdit>("Text1");
        MessageCatcher catcher(text);
        QTest::keyClick(control("Command1"), Qt::Key_Space);
        QCOMPARE(catcher.shown, 1);
        QCOMPARE(catcher.title, QStringLiteral("Velmarin"));
        QCOMPARE(catcher.message, QStringLiteral("Deve de introducir un numero"));
        QCOMPARE(catcher.icon, QMessageBox::NoIcon);
        QCOMPARE(catcher.buttons, 1);
        QVERIFY(catcher.applicationModal);
        QVERIFY(port.writes.empty());
        QVERIFY(text->text().isEmpty());
        // The window gives the focus back to this control when it is active again.
        QCOMPARE(form->focusWidget(), control("Command1"));
    }

    void sacarDatoRefusesOutOfRangeAndClearsAfterTheMessage_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("256") << "256";
        QTest::newRow("-1") << "-1";
        QTest::newRow("&H100") << "&H100";
        QTest::newRow("255.5") << "255.5";
        QTest::newRow("99999") << "99999";
        QTest::newRow("megabyte of digits") << QString(1 << 20, QLatin1Char('9'));
    }
    void sacarDatoRefusesOutOfRangeAndClearsAfterTheMessage() {
        QFETCH(QString, typed);
        auto* text = control<QLineEdit>("Text1");
        text->setText(typed);
        text->setFocus();
        MessageCatcher catcher(text);
        // Pressed without taking the focus: the focus stays in the text box.
        control<QPushButton>("Command1")->click();
        QCOMPARE(catcher.shown, 1);
        QCOMPARE(catcher.title, QStringLiteral("Velmarin"));
        QCOMPARE(catcher.message, QStringLiteral("los datos deven de ser numericos entre 0 y 255"));
        QCOMPARE(catcher.icon, QMessageBox::NoIcon);
        QCOMPARE(catcher.buttons, 1);
        QCOMPARE(catcher.textWhileShown, typed);
        QVERIFY(text->text().isEmpty());
        QVERIFY(port.writes.empty());
        QCOMPARE(form->focusWidget(), text);
    }

    void sacarDatoReadsAnyText() {
        auto* text = control<QLineEdit>("Text1");
        const QString unusual = QStringLiteral("1") + QChar(0) + QStringLiteral("2") +
                                QStringLiteral("\u00f1\u0663\U0001F600");
        text->setText(unusual);
        control<QPushButton>("Command1")->click();
        QCOMPARE(port.writes, std::vector<PortByte>{0x01});
        QVERIFY(text->text().isEmpty());
    }

    void salirClosesTheWindowWritingNothing() {
        control<QLineEdit>("Text1")->setText(QStringLiteral("255"));
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QVERIFY(port.writes.empty());
    }

    void closingTheWindowWritesNothing() {
        QVERIFY(form->close());
        QVERIFY(!form->isVisible());
        QVERIFY(port.writes.empty());
    }
};

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The test closes windows itself; the application must outlive them.
    QApplication::setQuitOnLastWindowClosed(false);
    Form1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "form1_test.moc"
