// The program movarin: makes the application object under the names that key the
// settings store.
#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("KORV/DASEL"));
    QApplication::setApplicationName(QStringLiteral("Movarin"));
    return 0;
}
