#include "uScanThread.h"

#include "uVelloxBSP.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>

#include <chrono>
#include <utility>

namespace {

// After a capture failure other than a time-out the reader usually fails again at once (unplugged,
// closed under us): retrying without a pause would spin the processor.
constexpr unsigned long kPauseAfterFailureMs = 1000;
// How often the destructor drops a capture on its way while it waits for the thread.
constexpr unsigned long kDropIntervalMs = 20;

// A failed capture that is retried at once: the library has already waited for a finger.
bool RetryAtOnce(int errorCode)
{
    return errorCode == TVelloxBSP::CaptureTimeout || errorCode == TVelloxBSP::NoFingerprintTaken;
}

// The message of the exception being handled.
QString CurrentFailure()
{
    try {
        throw;
    } catch (const EVelloxError& error) {
        return QStringLiteral("%1 (%2)").arg(error.Message()).arg(error.Code());
    } catch (const Exception& error) {
        return error.Message();
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    } catch (...) {
        return TContinousScanThread::tr("The continuous scan ended after an unexpected error.", "stSCANFAILED");
    }
}

} // namespace

TContinousScanThread::TContinousScanThread(std::shared_ptr<TVelloxBSP> mainReader, QObject* parent)
    : QThread(parent), m_mainReader(std::move(mainReader))
{
    // finished comes from the scan thread; Finish runs on the main thread, where this object lives.
    connect(this, &QThread::finished, this, &TContinousScanThread::Finish, Qt::QueuedConnection);
}

TContinousScanThread::~TContinousScanThread()
{
    if (m_deliveries > 0)
        qFatal("TContinousScanThread deleted from within its capture handler, which the thread waits for; "
               "call Stop() instead: the object frees itself after ScanEnded");
    Stop();
    // A capture on its way to the main thread holds the thread until it is delivered; dropping it
    // lets the thread see the stop and end.
    while (!wait(kDropIntervalMs))
        QCoreApplication::removePostedEvents(this, QEvent::MetaCall);
    GiveBackDevice();
}

void TContinousScanThread::Start()
{
    if (std::exchange(m_started, true))
        return;
    TakeDevice();
    start();
}

void TContinousScanThread::Stop()
{
    QMutexLocker lock(&m_pauseMutex);
    m_stopRequested = true;
    m_stopWake.wakeAll();
}

bool TContinousScanThread::WaitForEnd(QDeadlineTimer deadline)
{
    if (m_ended)
        return true;
    if (!m_started || m_deliveries > 0)
        return false;
    // Only locals after exec(): the object frees itself once ScanEnded has been emitted.
    QEventLoop loop;
    bool ended = false;
    connect(this, &TContinousScanThread::ScanEnded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer timer;
    if (!deadline.isForever()) {
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(std::chrono::ceil<std::chrono::milliseconds>(deadline.remainingTimeAsDuration()));
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return ended;
}

// ---- Scan thread ---------------------------------------------------------------------------------

void TContinousScanThread::run()
{
    try {
        Scan();
    } catch (...) {
        m_failure = CurrentFailure();
    }
}

void TContinousScanThread::Scan()
{
    // Created here rather than by the constructor: the object and its reader session then belong to
    // the one thread that uses them, and a failure to create them ends in ScanEnded like any other.
    // Its destructor closes the device however the loop ends.
    TVelloxBSP reader;
    reader.OpenDevice(0);
    reader.SetWindowStyle(1);
    while (!StopRequested()) {
        const QString templateText = reader.Capture();
        if (!templateText.isEmpty())
            HandOver(templateText);
        else if (!RetryAtOnce(reader.LastError()))
            PauseAfterFailure();
    }
    reader.CloseDevice();
}

void TContinousScanThread::HandOver(const QString& templateText)
{
    if (StopRequested())
        return;
    // Blocks until the main thread has run the capture handlers (or dropped the call).
    QMetaObject::invokeMethod(this, [this, templateText] { DeliverCapture(templateText); },
                              Qt::BlockingQueuedConnection);
}

void TContinousScanThread::PauseAfterFailure()
{
    QMutexLocker lock(&m_pauseMutex);
    if (!m_stopRequested)
        m_stopWake.wait(&m_pauseMutex, kPauseAfterFailureMs);
}

// ---- Main thread ---------------------------------------------------------------------------------

void TContinousScanThread::DeliverCapture(const QString& templateText)
{
    // A stop may have come while the capture was on its way.
    if (StopRequested())
        return;
    ++m_deliveries;
    const auto delivered = qScopeGuard([this] { --m_deliveries; });
    emit FingerprintCaptured(templateText);
}

void TContinousScanThread::TakeDevice()
{
    if (!m_mainReader || m_mainReader->OpenDeviceId() < 0)
        return;
    m_giveBackDevice = true;
    try {
        m_mainReader->CloseDevice();
    } catch (const Exception&) {
        // The scan's own open then finds the device busy, and ScanEnded reports that.
    }
}

void TContinousScanThread::GiveBackDevice()
{
    if (!std::exchange(m_giveBackDevice, false))
        return;
    try {
        m_mainReader->OpenDevice(0);
    } catch (...) {
        if (m_failure.isEmpty())
            m_failure = CurrentFailure();
    }
}

void TContinousScanThread::Finish()
{
    GiveBackDevice();
    m_ended = true;
    emit ScanEnded(m_failure);
    deleteLater();
}
