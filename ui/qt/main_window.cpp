#include "ui/qt/main_window.h"

#include "core/keypad.h"
#include "core/sacar_dato.h"
#include "ui/form1_controls.h"
#include "ui/qt/program_icon.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

#include <cstdlib>
#include <iostream>
#include <limits>

namespace pp {

namespace {

QRect pixels(const ControlDescription& control) {
    return {TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
            TwipsToPixels(control.height)};
}

QString qstring(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont windowFont() {
    QFont font(qstring(WindowFontFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(FontPoints);
    font.setWeight(QFont::Normal);
    return font;
}

QFont keypadFont() {
    QFont font = windowFont();
    // Where "MS Sans Serif" is missing, the window's face stands in. Qt 5
    // matches the family first and the list after it; Qt 6, the list.
    font.setFamily(qstring(KeypadFontFamily));
    font.setFamilies({qstring(KeypadFontFamily), qstring(WindowFontFamily)});
    font.setWeight(QFont::Bold);
    return font;
}

// The value 0-15 of a key's caption, a single hexadecimal digit.
std::size_t keyDigit(std::string_view caption) {
    return static_cast<std::size_t>(qstring(caption).toUInt(nullptr, 16));
}

QPushButton* pushButton(const ControlDescription& control, QWidget* parent) {
    auto* button = new QPushButton(qstring(control.caption), parent);
    // Enter never presses a button that does not have the focus.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// A message box modal to the whole application, with the application's
// title and one OK button; returns once the user has dismissed it.
void showModalMessage(QMessageBox::Icon icon, const QString& text, QWidget* parent) {
    QMessageBox box(icon, qstring(MessageTitle), text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

Form1::Form1(PortOutput& port, QWidget* parent) : QWidget(parent), port_(port) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(qstring(Form1Caption));
    setWindowIcon(QIcon(ProgramIcon()));
    setFont(windowFont());
    // No layout: resizing the window moves nothing.
    resize(TwipsToPixels(Form1Width), TwipsToPixels(Form1Height));

    QWidget* previous = nullptr;
    for (const ControlDescription& control : Form1Controls) {
        QWidget* widget = createControl(control);
        widget->setObjectName(qstring(control.name));
        widget->setGeometry(pixels(control));
        if (control.font == ControlFont::Keypad) {
            widget->setFont(keypadFont());
        }
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous != nullptr) {
                setTabOrder(previous, widget);
            }
            previous = widget;
        }
        if (!control.accessibleName.empty()) {
            widget->setAccessibleName(qstring(control.accessibleName));
        }
    }
    // A label names its control to a screen reader, as its buddy; with no
    // mnemonic in the caption, the keyboard is not affected.
    for (const ControlDescription& control : Form1Controls) {
        if (!control.labels.empty()) {
            findChild<QLabel*>(qstring(control.name))
                ->setBuddy(findChild<QWidget*>(qstring(control.labels)));
        }
    }
}

QWidget* Form1::createControl(const ControlDescription& control) {
    switch (control.kind) {
    case ControlKind::PushButton:
    case ControlKind::KeypadKey: {
        auto* button = pushButton(control, this);
        connectClick(button, control);
        return button;
    }
    case ControlKind::TextBox: {
        text1_ = new QLineEdit(this);
        // Any length may be typed or pasted.
        text1_->setMaxLength(std::numeric_limits<int>::max());
        return text1_;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(qstring(control.caption), this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::PictureBox: {
        auto* picture = new QLabel(this);
        picture->setPixmap(ProgramPicture());
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return picture;
    }
    }
    return nullptr;
}

void Form1::connectClick(QPushButton* button, const ControlDescription& control) {
    switch (control.click) {
    case ControlClick::SacarDato:
        connect(button, &QPushButton::clicked, this, &Form1::sacarDatoClicked);
        break;
    case ControlClick::Salir:
        connect(button, &QPushButton::clicked, this, &QWidget::close);
        break;
    case ControlClick::Keypad: {
        const std::size_t digit = keyDigit(control.caption);
        connect(button, &QPushButton::clicked, this, [this, digit] { keyClicked(digit); });
        break;
    }
    case ControlClick::None:
        break;
    }
}

QRect Form1::centredGeometry(const QMargins& frame) const {
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size().grownBy(frame),
                               screen()->availableGeometry());
}

void Form1::showCentred() {
    // Placed by its frame's corner (move, not setGeometry), which window
    // managers honour alike; centred by its own size until the frame is known.
    move(centredGeometry().topLeft());
    centring_ = true;
    show();
    findChild<QWidget*>(QStringLiteral("Command1"))->setFocus();
}

bool Form1::event(QEvent* event) {
    // The frame is known by the time the window is first activated, or moved
    // by the window manager; without a window manager there is none.
    if (centring_ && (event->type() == QEvent::WindowActivate || event->type() == QEvent::Move)) {
        const QMargins frame = windowHandle()->frameMargins();
        if (!frame.isNull()) {
            centring_ = false;
            // Once this event, which may be part of showing the window, has
            // been handled; by the frame's corner, as when it was first shown
            // (QWidget::move would now place the window inside the frame).
            const QPoint corner = centredGeometry(frame).topLeft();
            QMetaObject::invokeMethod(
                this, [this, corner] { windowHandle()->setFramePosition(corner); },
                Qt::QueuedConnection);
        } else if (event->type() == QEvent::WindowActivate) {
            centring_ = false;
        }
    }
    return QWidget::event(event);
}

void Form1::keyClicked(std::size_t digit) {
    writing([&] { KeypadHandler(digit, port_); });
}

void Form1::sacarDatoClicked() {
    writing([&] { SacarDatoHandler(*this, port_); });
}

std::string Form1::ReadText() {
    return text1_->text().toStdString();
}

void Form1::SetText(std::string_view text) {
    text1_->setText(qstring(text));
}

void Form1::ShowMessage(std::string_view text) {
    showModalMessage(QMessageBox::NoIcon, qstring(text), this);
}

template <typename Handler> void Form1::writing(Handler&& handler) {
    try {
        handler();
    } catch (const PortWriteFailed& failure) {
        byteNotWritten(failure);
    } catch (const PortUnavailable& failure) {
        portUnavailable(failure);
    }
}

void Form1::byteNotWritten(const PortWriteFailed& failure) {
    std::cerr << failure.what() << '\n';
    showModalMessage(QMessageBox::NoIcon, QString::fromUtf8(failure.what()), this);
}

void Form1::portUnavailable(const PortUnavailable& failure) {
    std::cerr << failure.what() << '\n';
    showModalMessage(QMessageBox::Critical, QString::fromUtf8(failure.what()), this);
    QCoreApplication::exit(EXIT_FAILURE);
}

} // namespace pp
