// The yardstick for puerto-paralelo-demo's start-up: a bare Qt window with
// the same 22 widgets (buttons, a line edit, labels and a picture label) at
// the same places, and nothing else.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(207, 255);
    auto* sacar = new QPushButton(QStringLiteral("Sacar Dato"), &window);
    sacar->setGeometry(24, 168, 65, 25);
    auto* salir = new QPushButton(QStringLiteral("Salir"), &window);
    salir->setGeometry(104, 168, 57, 25);
    auto* text = new QLineEdit(&window);
    text->setGeometry(144, 16, 49, 19);
    auto* prompt = new QLabel(QStringLiteral("Introdusca el dato a sacar"), &window);
    prompt->setGeometry(8, 16, 129, 17);
    prompt->setWordWrap(true);
    const char* captions = "123456789";
    QFont bold;
    bold.setBold(true);
    for (int i = 0; i < 16; ++i) {
        const QString caption = i < 9 ? QString(QLatin1Char(captions[i])) : QString::number(i, 16);
        auto* key = new QPushButton(caption, &window);
        key->setFont(bold);
        key->setGeometry(8 + 48 * (i % 4), 40 + 32 * (i / 4), 41, 25);
    }
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::gray);
    auto* picture = new QLabel(&window);
    picture->setPixmap(pixmap);
    picture->setGeometry(16, 208, 32, 32);
    auto* credit = new QLabel(QStringLiteral("Manejo del puerto paralelo"), &window);
    credit->setGeometry(56, 208, 137, 41);
    credit->setWordWrap(true);
    window.show();
    return QApplication::exec();
}
