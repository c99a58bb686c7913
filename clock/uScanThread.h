#pragma once

#include <QDeadlineTimer>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include <atomic>
#include <memory>

class TVelloxBSP;

// Continuous scanning: a thread that keeps the fingerprint reader capturing and hands every captured
// template to the main thread, one at a time, through FingerprintCaptured. The thread drives the
// reader through a TVelloxBSP of its own (its own automation object and reader session), created,
// used and released on the thread itself. The reader has one device, which the scan borrows from the
// main thread's wrapper: Start() closes it there, and it is opened there again once the scan has
// closed its own, just before ScanEnded.
//
// On the main thread:
//   m_scan = new TContinousScanThread(appData.Reader(), this);      // QPointer<TContinousScanThread>
//   connect(m_scan, &TContinousScanThread::FingerprintCaptured, this, &TfrmMainWindow::ScanCaptured);
//   connect(m_scan, &TContinousScanThread::ScanEnded, this, &TfrmMainWindow::ScanEnded);
//   m_scan->Start();
//   ...
//   m_scan->Stop();                  // returns at once; ScanEnded follows
//   m_scan->WaitForEnd();            // at exit: runs the event loop until ScanEnded has been emitted
//
// Stopping takes effect when the capture in progress returns: at the latest one capture time-out of
// the reader library (its CaptureTimeout) after Stop(), or when the capture handler returns. A
// template captured after Stop() is dropped, never delivered.
//
// The object frees itself (deleteLater) after ScanEnded. Deleting it earlier stops the thread and
// waits for it (up to one capture time-out), gives the device back, and emits nothing; never delete
// it from within the capture handler, which the thread is waiting for (that aborts the program).
class TContinousScanThread final : public QThread
{
    Q_OBJECT

public:
    // `mainReader`: the main thread's wrapper whose device the scan borrows; may be null. Its device
    // is given back only when it was open at Start().
    explicit TContinousScanThread(std::shared_ptr<TVelloxBSP> mainReader = nullptr, QObject* parent = nullptr);
    ~TContinousScanThread() override;

    // Closes the main reader's device and starts the thread; once only. Never raises: whatever keeps
    // the scan from running ends it, and ScanEnded says why.
    void Start();
    // Asks the thread to end after the capture in progress; returns at once. Safe from any thread and
    // from within the capture handler; calling it again changes nothing.
    void Stop();
    bool StopRequested() const { return m_stopRequested; }
    // Runs the main thread's event loop, without user input, until ScanEnded has been emitted (true)
    // or the deadline has passed (false). Before Start(), and from within the capture handler, it
    // returns false at once: the thread cannot end before the handler has returned. The object may
    // have been freed when this returns.
    bool WaitForEnd(QDeadlineTimer deadline = QDeadlineTimer(QDeadlineTimer::Forever));

signals:
    // A captured template's text, emitted on the main thread. The scan thread waits until the slots
    // have returned, so captures never overlap with the punch they cause. Connect directly (the
    // default): a queued slot would let the thread capture again before the punch is recorded.
    void FingerprintCaptured(const QString& templateText);
    // Emitted once on the main thread, however the thread ended, after the main reader's device is
    // open again. `failure` is empty after a Stop() with nothing gone wrong, else what went wrong
    // (creating the reader, opening or closing a device, giving the device back).
    void ScanEnded(const QString& failure);

protected:
    void run() override;

private:
    // Starting, waiting and killing go through Start(), WaitForEnd() and Stop() only.
    using QThread::start;
    using QThread::terminate;
    using QThread::wait;

    // Scan thread.
    void Scan();
    void HandOver(const QString& templateText);
    void PauseAfterFailure();
    // Main thread.
    void DeliverCapture(const QString& templateText);
    void TakeDevice();
    void GiveBackDevice();
    void Finish();

    std::shared_ptr<TVelloxBSP> m_mainReader;
    bool m_started = false;
    bool m_giveBackDevice = false;
    bool m_ended = false;
    int m_deliveries = 0; // capture handlers running now
    std::atomic_bool m_stopRequested = false;
    QMutex m_pauseMutex;
    QWaitCondition m_stopWake;
    QString m_failure; // written by the thread before it finishes, read after
};
