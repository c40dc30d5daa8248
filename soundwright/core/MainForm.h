#pragma once
// The main window of soundwright: ribbon, command list, editor panel with
// level meters, control panel and status bar; it owns the editor, the open
// document, the settings record, the folders and the recent files list for
// the whole run.
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "EngineTypes.h"

#include "Folders.h"
#include "GlobalVars.h"
#include "Identity.h"
#include "RecentFiles.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QPushButton;
class QTimer;
class FavoriteListBox;
class TDocument;
class TEditCommands;
class TFavoriteCommands;
class TFormProgress;
class TProgressDisplay;
class TRibbon;
class WaveformView;
namespace sw { class TAudioEditor2; class TAudioPlayer2; }

struct TMainFormOptions {
    QString exeDir;              // folder of the executable (profile, pictures, help)
    QStringList arguments;       // command-line arguments after the program name
    sw::FolderEnvironment env;   // where the folders are computed from
    ProductIdentity identity;
    bool postAfterShow = true;   // post the after-show step (off for tests that drive it)
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const TMainFormOptions& options, QWidget* parent = nullptr);
    ~TMainForm() override;

    sw::TAudioEditor2& Editor() { return *editor_; }
    TDocument& Document() { return *document_; }
    // The selection, editing and positioning commands (and the clip flag).
    TEditCommands& Commands() { return *commands_; }
    TGlobalVars& Vars() { return vars_; }
    RecentFiles& Recent() { return recent_; }
    const ProductIdentity& Identity() const { return identity_; }

    QString ApplicationDataFolder() const { return appData_; }
    QString MusicFolder() const { return music_; }
    QString TemporaryFolder() const { return temp_; }
    QString SettingsPath() const { return appData_ + "system.dat"; }
    QString RecentFilesPath() const { return appData_ + "MRUList.dat"; }
    QString FavoritesPath() const { return appData_ + "Favorite8pre.dat"; }
    QString ShortcutsPath() const { return appData_ + "Shortcut8pre.dat"; }
    // Whether LoadSettings found system.dat at start.
    bool FoundSettings() const { return foundSettings_; }

    const QList<QAction*>& Actions() const { return actions_; }
    QAction* Action(const QString& objectName) const { return byName_.value(objectName); }
    // The commands that have a handler in this build; the rest stay disabled.
    bool Implemented(const QString& objectName) const { return implemented_.contains(objectName); }

    // The posted step after the window is shown.
    void AfterShow();
    // Opens the welcome window and runs the chosen command.
    void RunWelcomeWindow();
    // A recent file chosen in the welcome window: opened when it exists,
    // otherwise reported and taken off the list.
    void OpenRecentFile(const QString& path);
    // Sets every command's enabled state from the document state.
    void UpdateCommandStates();
    void StopTransport();
    // The window's closing steps after the document allowed the close.
    void FormClose();

    // The play table (mode 1 Play, 2 Play To End, 3 Loop Play) and Pause.
    void PlayCommand(int mode);
    void PauseCommand();
    void SelectAll();
    // Run after the selection display and the clock change, for the
    // frequency analysis window.
    std::function<void()> RefreshAnalysis;
    // The status fields from the selection; notes whether its length changed.
    void UpdateSelectionDisplay();
    // Whether the last UpdateSelectionDisplay saw another selection length.
    bool SelectionChanged() const { return selectionChanged_; }
    // One tick of the held rewind and forward buttons.
    void TimerRewindTimer();
    void TimerForwordTimer();
    void ButtonRewindMouseDown();
    void ButtonRewindMouseUp();
    void ButtonForwordMouseDown();
    void ButtonForwordMouseUp();
    // Sizes the clock's font to its panel.
    void FitClock(const QSize& box);

    // Command list layout.
    void SetCommandListVisible(bool visible);
    void SetCommandListOnTheLeft(bool left);
    bool CommandListOnTheLeft() const { return commandListLeft_; }
    int VerticalZoomValue() const { return verticalZoom_; }
    // 1 waveform, 2 spectral: the view's type, the radio check mark and,
    // when `write`, the "WaveMode" key.
    void SetDisplayMode(int mode, bool write = true);

    // Progress window hooks of the editor.
    void ShowProgress(int percent);
    void HideProgress();
    TFormProgress* ProgressForm() const;

    WaveformView* EditorView() const { return view_; }
    // A menu of the window by its object name ("PopupMenuMain", ...).
    QMenu* Menu(const QString& objectName) { return menu(objectName); }
    // Axis formats (horizontal 1 sample, 2 decimal; vertical 1 sample
    // values, 2 normalized, 3 decibels): the view, the radio check mark and,
    // when `write`, the "Format" key of "Horizontal" or "Vertical".
    void SetScaleXFormat(int format, bool write = true);
    void SetScaleYFormat(int format, bool write = true);

    // Effect preview. `transform` turns the copied selection into what is
    // heard; it returns nothing when it failed (it has said why and run
    // StopPreview). Returns whether a preview started.
    using PreviewTransform = std::function<std::optional<sw::PlanarBuffer>(const sw::PlanarBuffer&)>;
    bool StartPreview(const PreviewTransform& transform);
    void StopPreview();
    bool PreviewActive() const { return previewActive_; }
    sw::SampleCount PreviewLength() const { return previewLength_; }
    sw::TAudioPlayer2& Player() { return *player_; }
    // The effect processor's block and end events: the progress window
    // without disabling the main window, and the TransformRunning flag.
    void TransformBlock(int percent);
    void EndTransform();
    bool TransformRunning() const { return transformRunning_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildRibbon();
    void buildCommandList();
    void buildEditorPanel(QWidget* panel);
    void buildControlPanel(QWidget* panel);
    void buildStatusBar();
    void buildQuickAccess();
    QMenu* menu(const QString& name);
    void connectCommands();
    void connectEditor();
    void readViewSettings();
    void applyWorkFolder();
    void showTimeField(QLineEdit* edit);
    void commitTimeField(QLineEdit* edit);
    void showHelp(const QString& topic);
    // Runs a command's body with the usual error handling and re-enables
    // the window afterwards.
    template <class F> void run(F&& body);
    void on(const char* actionName, std::function<void()> handler);

    TMainFormOptions options_;
    ProductIdentity identity_;
    TGlobalVars vars_;
    RecentFiles recent_;
    QString appData_, music_, temp_;
    bool foundSettings_ = false;
    bool commandListLeft_ = true;
    int verticalZoom_ = 100;
    bool selectionChanged_ = false;
    bool updatingSelection_ = false;
    bool nestedSelectionUpdate_ = false;
    qint64 rememberedStart_ = 0, rememberedEnd_ = 0;
    QLineEdit* committing_ = nullptr;

    std::unique_ptr<sw::TAudioEditor2> editor_;
    std::unique_ptr<TDocument> document_;
    std::unique_ptr<TEditCommands> commands_;

    QList<QAction*> actions_;
    QHash<QString, QAction*> byName_;
    QSet<QString> implemented_;

    TRibbon* ribbon_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* commandList_ = nullptr;
    QTreeWidget* effectTree_ = nullptr;
    FavoriteListBox* favoriteList_ = nullptr;
    TFavoriteCommands* favorites_ = nullptr;
    QWidget* editorPanel_ = nullptr;
    WaveformView* view_ = nullptr;
    QProgressBar* leftBar_ = nullptr;
    QProgressBar* rightBar_ = nullptr;
    QLabel* labelTime_ = nullptr;
    QLineEdit* editStart_ = nullptr;
    QLineEdit* editEnd_ = nullptr;
    QLineEdit* editLength_ = nullptr;
    QLabel* labelFileLength_ = nullptr;
    QLabel* labelStart_ = nullptr;
    QLabel* labelEnd_ = nullptr;
    QLabel* labelSelLength_ = nullptr;
    QLabel* labelSelectionSample_ = nullptr;
    QWidget* panelTime_ = nullptr;
    QMenu* popupMenuMain_ = nullptr;
    QHash<QString, QMenu*> menus_;
    // Menu buttons of the ribbon that follow the document state.
    enum class MenuRule { Open, Audio };
    struct MenuButton { QToolButton* button; MenuRule rule; };
    QList<MenuButton> menuButtons_;
    std::unique_ptr<sw::TAudioPlayer2> player_;
    bool previewActive_ = false;
    sw::SampleCount previewLength_ = 0;
    bool transformRunning_ = false;
    QLabel* panelModified_ = nullptr;
    QLabel* panelFileInfo_ = nullptr;
    QTimer* timerRewind_ = nullptr;
    QTimer* timerForword_ = nullptr;
    QList<QPushButton*> transportButtons_;
    QPointer<TFormProgress> progressForm_;
    std::unique_ptr<TProgressDisplay> progress_;
};

// The control panel's time text of a sample position: "h:mm:ss.zzz" below
// an hour without the hour ("m:ss.zzz").
QString ClockText(qint64 samples, int sampleRate);
