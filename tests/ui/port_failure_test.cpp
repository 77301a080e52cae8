// A port that cannot be reached ends the program: the cause is shown in a
// modal message and on standard error, and the event loop ends with status 1.
// A single byte that cannot be written is shown the same way, and the program
// goes on.
#include "ui/qt/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

const char* const Cause = "No se encuentra el puerto paralelo 0x378 (888).\n\nCárguelo.";

class UnreachablePort final : public pp::PortOutput {
public:
    int attempts = 0;
    void PortOut(pp::PortByte) override {
        ++attempts;
        throw pp::PortUnavailable(Cause);
    }
};

// Refuses the first byte (as when another program holds the port), then
// records the others.
class BusyOncePort final : public pp::PortOutput {
public:
    std::vector<pp::PortByte> written;
    int refused = 0;
    void PortOut(pp::PortByte value) override {
        if (refused++ == 0) {
            throw pp::PortWriteFailed("El puerto paralelo 0x378 (888) está ocupado.");
        }
        written.push_back(value);
    }
};

// Sends standard error to a file while it lives.
class CapturedStderr {
public:
    CapturedStderr() {
        file_.open();
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        ::dup2(file_.handle(), STDERR_FILENO);
    }
    ~CapturedStderr() { restore(); }
    CapturedStderr(const CapturedStderr&) = delete;
    CapturedStderr& operator=(const CapturedStderr&) = delete;

    QString text() {
        restore();
        file_.seek(0);
        return QString::fromUtf8(file_.readAll());
    }

private:
    void restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
    }
    QTemporaryFile file_;
    int saved_ = -1;
};

} // namespace

class PortFailureTest : public QObject {
    Q_OBJECT

private slots:
    void unreachablePortIsShownAndEndsTheProgram() {
        UnreachablePort port;
        pp::Form1 form(port);
        form.showCentred();
        QVERIFY(QTest::qWaitForWindowActive(&form));

        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool modal = false;
        QTimer dismiss;
        QObject::connect(&dismiss, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                dismiss.stop();
                title = box->windowTitle();
                text = box->text();
                icon = box->icon();
                modal = box->isModal();
                box->button(QMessageBox::Ok)->click();
            }
        });
        dismiss.start(10);
        QTimer::singleShot(0, [&] {
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Command11")),
                              Qt::LeftButton);
        });

        CapturedStderr captured;
        const int status = QApplication::exec();
        const QString printed = captured.text();

        QCOMPARE(status, 1);
        QCOMPARE(port.attempts, 1);
        QVERIFY(modal);
        QCOMPARE(title, QStringLiteral("Velmarin"));
        QCOMPARE(text, QString::fromUtf8(Cause));
        QCOMPARE(icon, QMessageBox::Critical);
        QCOMPARE(printed, QString::fromUtf8(Cause) + QLatin1Char('\n'));
    }

    void aByteNotWrittenIsShownAndTheProgramGoesOn() {
        // Each row: the control clicked while the port refuses its byte, the
        // text typed first, and the text left after.
        const struct {
            const char* control;
            const char* typed;
        } rows[] = {{"Command11", ""}, {"Command1", "200"}};
        for (const auto& row : rows) {
            BusyOncePort port;
            pp::Form1 form(port);
            form.showCentred();
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            auto* text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
            text1->setText(QString::fromLatin1(row.typed));

            QString shown;
            QMessageBox::Icon icon = QMessageBox::Critical;
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    shown = box->windowTitle() + QLatin1Char(':') + box->text();
                    icon = box->icon();
                    box->button(QMessageBox::Ok)->click();
                }
            });
            CapturedStderr captured;
            QTest::mouseClick(form.findChild<QPushButton*>(QString::fromLatin1(row.control)),
                              Qt::LeftButton);
            QCOMPARE(captured.text(),
                     QStringLiteral("El puerto paralelo 0x378 (888) está ocupado.\n"));
            QCOMPARE(shown,
                     QStringLiteral("Velmarin:El puerto paralelo 0x378 (888) está ocupado."));
            QCOMPARE(icon, QMessageBox::NoIcon);
            // Nothing written, the typed text kept for another try, and the
            // window still answers.
            QVERIFY(port.written.empty());
            QCOMPARE(text1->text(), QString::fromLatin1(row.typed));
            QVERIFY(form.isVisible());
            QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Command14")),
                              Qt::LeftButton);
            QCOMPARE(port.written, std::vector<pp::PortByte>{0x77});
        }
    }
};

QTEST_MAIN(PortFailureTest)
#include "port_failure_test.moc"
