#pragma once

#include <QByteArray>
#include <QTemporaryDir>

// A class registry file of the test's own, with the freshly built TrivaneCOM server registered in
// it, so that creating "TrivaneCOM.APIInterface" never touches the user's registry.
class TestServerRegistry final {
public:
    // Points HORAVANT_AUTOMATION_REGISTRY at the new file and registers the server there.
    TestServerRegistry();

    // The server is registered.
    bool IsValid() const { return m_registered; }
    // Points the variable at this file again, after a test has moved it elsewhere.
    void Activate() const;
    const QByteArray& FileName() const { return m_fileName; }

private:
    QTemporaryDir m_dir;
    QByteArray m_fileName;
    bool m_registered = false;
};
