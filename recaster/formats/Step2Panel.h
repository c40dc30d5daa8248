#pragma once
// The wizard's Step2 page: the output folder, the class buttons and the
// format sheet with the format buttons of each class, laid out on the grid
// for the formats the build offers.
#include <QList>
#include <QWidget>
#include <array>

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;

namespace rc {

struct TProfile;
struct TRunSettings;

class TStep2Panel : public QWidget {
    Q_OBJECT
public:
    explicit TStep2Panel(QWidget* parent = nullptr);

    // Shows the offered buttons of the profile on their grids, hides the
    // rest, and hides the class buttons when fewer than two classes remain.
    void ApplyProfile(const TProfile& profile);
    // Shows the class, format and folder of the settings.
    void ShowChoice(const TRunSettings& settings);
    // Stores the folder (with a trailing separator), the class and the
    // formats into the settings.
    void TakeOver(TRunSettings& settings) const;

    int CurrentClass() const { return class_; }
    int CurrentFormat(int formatClass) const;
    QString OutputFolder() const;

    QAbstractButton* ClassButton(int formatClass) const;
    QToolButton* FormatButton(int formatClass, int index) const;
    QTabWidget* FormatPages() const { return pages_; }
    // The preset list of a format (nullptr when unknown).
    QComboBox* PresetList(int formatClass, int index) const;
    // Width of the sheets the format buttons are laid out on.
    int SheetWidth() const;

    // Handlers.
    void ClassButtonClick(int formatClass);
    void FormatButtonClick(int formatClass, int index);
    void ButtonSelectDirClick();

private:
    void ShowClass(int formatClass);

    QLineEdit* outputDir_ = nullptr;
    QTabWidget* pages_ = nullptr;
    std::array<QPushButton*, 3> classButtons_{};
    std::array<QList<QToolButton*>, 3> formatButtons_{};
    std::array<QList<QComboBox*>, 3> presetLists_{};
    int class_ = 0;
    std::array<int, 3> format_{};
};

}  // namespace rc
