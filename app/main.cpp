#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KronvikClock2"));
    QApplication::setOrganizationName(QStringLiteral("Ostrelo"));
    QApplication::setApplicationDisplayName(QStringLiteral("Horavant 2.0"));
    QApplication::setApplicationVersion(QStringLiteral(HORAVANT_VERSION));
    QTextStream(stdout) << "Horavant " << QApplication::applicationVersion() << Qt::endl;
    return 0;
}
