#include "uUnhandledException.h"

#include "fMyMessageDlg.h"
#include "uExceptions.h"

#include <QCoreApplication>
#include <QThread>
#include <QtDebug>

namespace
{

QString MessageOf(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const Exception& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return QCoreApplication::translate("TfrmMainWindow", "An unexpected error has occurred.", "stUNEXPECTEDERROR");
    }
}

} // namespace

void ShowUnhandledException(const std::exception_ptr& failure)
{
    if (!failure)
        return;
    const QString message = MessageOf(failure);
    const QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() == application->thread())
        ShowMessageBox(mkError, QString(), message);
    else
        qCritical().noquote() << message;
}
