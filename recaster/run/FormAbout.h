#pragma once
// The about box: title and version, the notice line, the web and support
// addresses of the build, and the update page.
#include <QDialog>

class QLabel;
class QTabWidget;
class QPushButton;

namespace rc {

struct TProfile;

// The notice line: "Copyright (C) <year> <text of the profile>".
QString CopyrightNotice(int year, const QString& text);

class TFormAbout : public QDialog {
    Q_OBJECT
public:
    // Fills the box from the profile of the program folder.
    explicit TFormAbout(QWidget* parent = nullptr);
    TFormAbout(const TProfile& profile, const QString& programDir, QWidget* parent = nullptr);

    // Handlers.
    void LabelWebClick();
    void LabelSupportEmailClick();
    void ButtonUpdatesClick();

private:
    void Build(const TProfile& profile, const QString& programDir);

    QTabWidget* tabs_ = nullptr;
    QWidget* picturePanel_ = nullptr;
    QLabel* imageLeft_ = nullptr;
    QPushButton* ok_ = nullptr;
    QString home_, support_, updates_;
};

}  // namespace rc
