#pragma once

#include <QDialog>

namespace dvw {

// The About box: the program's name and icon, then its version, legal notice and maker,
// compiled in from the build. Labels: "productLine", "versionLine", "legalLine",
// "companyLine", "specialBuildLine" (empty unless this is a special build).
class dvwAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit dvwAboutDlg(QWidget *parent = nullptr);

    // "Dayvane Version  0.1.0": name, the word with its blank, and the version.
    static QString versionLine();
};

} // namespace dvw
