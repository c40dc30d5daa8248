#pragma once
// The converter's main window: a borderless shaped window holding the
// wizard pages and the buttons that walk them. It reads the profile and the
// settings at creation, chooses the start page, and writes the settings and
// window positions when it closes.
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>
#include <optional>

#include "Folders.h"
#include "Identity.h"
#include "ImageSet.h"
#include "Profile.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;

namespace rc {

class TConversionRun;
class TFormLog;
class TSkinButton;
class TStep1Panel;
class TStep2Panel;

enum TPage { PageMode = 0, PageStep1, PageStep2, PageStep3, PageStep4, PageStep5, PageStep6, PageStep7, PageCount };

// What a page shows in the title label and on the three wizard buttons.
struct TPageCaptions {
    QString Title;
    QString Next;
    bool NextEnabled = true;
    bool BackEnabled = false;
    QString Exit;
    bool operator==(const TPageCaptions&) const = default;
};
TPageCaptions PageCaptionsFor(int page, const QString& title, bool download, bool merge);

// The "more tools" link and action captions for a build.
struct TMoreToolsCaptions {
    QString Link, Action;
};
TMoreToolsCaptions MoreToolsCaptions(bool shortWording);

// The versions of the FFmpeg libraries the program runs with, for the log.
QString LinkedLibrariesText();

struct TFormMainOptions {
    QString ProgramDir;                            // empty: the executable's folder
    std::optional<sw::FolderEnvironment> Folders;  // empty: the running system's
    QRect Screen;                                  // invalid: the primary screen
};

class TFormMain : public QWidget {
    Q_OBJECT
public:
    explicit TFormMain(const TFormMainOptions& options = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

    const TProfile& Profile() const { return profile_; }
    const TIdentity& Identity() const { return identity_; }
    QString Title() const { return profile_.Name; }
    QString SettingsFile() const { return settingsFile_; }
    bool SettingsWereNew() const { return settingsWereNew_; }
    TFormLog* Log() const { return log_; }
    TStep1Panel* Step1() const { return step1_; }
    TStep2Panel* Step2() const { return step2_; }
    TConversionRun* Run() const { return run_; }
    QString ProgramFolder() const { return programDir_; }
    int CurrentPage() const;
    int StartPage() const { return profile_.Download ? PageMode : PageStep1; }
    bool ClipboardHasText() const { return clipboardHasText_; }
    // Where the help menu was last popped up (screen coordinates).
    QPoint HelpMenuPoint() const { return helpMenuPoint_; }
    QMenu* HelpMenu() const { return helpMenu_; }

    void AppendLog(const QString& line);
    void GoToPage(int page);
    // Sets the title label and the wizard buttons for the current page.
    void UpdateCaptions();
    // The deferred steps: posts message WM_USER+n as a queued call.
    void PostUserMessage(int n);

    // Handlers.
    void ButtonNextClick();
    void ButtonBackClick();
    void ButtonExitClick();
    void ButtonHelpClick();
    void ButtonLogClick();
    void ActionAboutExecute();
    void LabelMoreToolsClick();

signals:
    // The run (WM_USER+2), its end (WM_USER+3), its stop and the download
    // road's steps, carried out by the pages that own them.
    void StartRunRequested();
    void RunFinished();
    void StopRunRequested();
    void LoadDownloadPageRequested();
    void StartDownloadsRequested();
    void NextDownloadRequested();
    void NextQualityRequested();
    void AbortDownloadsRequested();
    void ClearListsRequested();
    // Sent first when the window closes: handlers detach and stop.
    void Closing();

protected:
    void closeEvent(QCloseEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dragMoveEvent(QDragMoveEvent*) override;
    void dropEvent(QDropEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildPages();
    void ApplyLayoutVariant();
    void FitWindowToLayout();
    void HandleUserMessage(int n);
    void ClipboardChanged();
    bool WriteAllSettings(QString* error);
    void ClearAddressList();
    void CentreOnScreen();
    QRect ScreenArea() const;

    TFormMainOptions options_;
    QString programDir_;
    TProfile profile_;
    TIdentity identity_;
    TImageSet images_;
    QString settingsFile_;
    bool settingsWereNew_ = false;
    bool clipboardHasText_ = false;
    bool watchingClipboard_ = false;
    QPoint helpMenuPoint_;
    QPoint dragOffset_;
    bool dragging_ = false;

    TFormLog* log_ = nullptr;
    QLabel* labelTitle_ = nullptr;
    QLabel* labelVersion_ = nullptr;
    QLabel* labelMoreTools_ = nullptr;
    QLabel* imageTopLogo_ = nullptr;
    QLabel* imageLeftLogo_ = nullptr;
    TSkinButton *buttonMin_ = nullptr, *buttonClose_ = nullptr, *buttonHelp_ = nullptr,
                *buttonLog_ = nullptr, *buttonBack_ = nullptr, *buttonNext_ = nullptr,
                *buttonExit_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    std::array<QWidget*, PageCount> sheets_{};
    QRadioButton* radioDownload_ = nullptr;
    QRadioButton* radioConvert_ = nullptr;
    TStep1Panel* step1_ = nullptr;
    TStep2Panel* step2_ = nullptr;
    TConversionRun* run_ = nullptr;
    QCheckBox* checkPlaySound_ = nullptr;
    QCheckBox* checkShutdown_ = nullptr;
    QTreeWidget* listURL_ = nullptr;
    QLineEdit* editURLOutput_ = nullptr;
    QCheckBox* checkQuality_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* actionMoreTools_ = nullptr;
};

}  // namespace rc
