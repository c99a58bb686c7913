#pragma once

#include <QString>
#include <functional>

class TdtmAppData;

// A small staff to try the station with: one group working Monday to Friday, five employees with
// passwords, bar codes and an enrolled simulated finger each, and three check-out reasons.
class TDemoData final
{
public:
    // Puts a finger on the simulated reader `times` times (the enrolment takes two readings).
    using TPlaceFinger = std::function<bool(const QString& finger, int times)>;

    TDemoData(TdtmAppData& appData, TPlaceFinger placeFinger);

    // False, changing nothing, when the database already has employees.
    bool Fill();
    // "Rivera, Ana: password 1234, bar code 1001, finger ana-thumb", one line per employee.
    static QStringList Summary();

private:
    void AddGroup();
    void AddEmployees();
    void AddReasons();
    void Enrol(int employeeId, const QString& finger);
    void ShowCompanyName();

    TdtmAppData& m_appData;
    TPlaceFinger m_placeFinger;
};
