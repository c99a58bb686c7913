#pragma once

#include <QStringList>
#include <QTemporaryDir>

// The simulated reader as a test drives it: a spool of the test's own (HORAVANT_SIM_SPOOL) and the
// trivane-sim tool that places fingers in it. Sessions the reader library opens afterwards use this
// spool; the device list and capture time-out come from the environment variables set here.
class SimReader final {
public:
    explicit SimReader(const QString& devices = QStringLiteral("2"), int captureTimeoutMs = 400);
    ~SimReader();

    bool IsValid() const { return m_dir.isValid(); }
    QString SpoolPath() const { return m_dir.path(); }

    // Runs trivane-sim; the exit code, its standard output in *output.
    int Run(const QStringList& arguments, QString* output = nullptr) const;
    // trivane-sim place <fingers...> <options...>; true on success.
    bool Place(const QStringList& fingers, const QStringList& options = {}) const;
    bool Place(const QString& finger, const QStringList& options = {}) const { return Place(QStringList{finger}, options); }
    // Placements not taken yet.
    int PendingCount() const;

private:
    QTemporaryDir m_dir;
};
