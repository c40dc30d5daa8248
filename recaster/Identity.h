#pragma once
// The identity table: what each known application title brings with it
// (icon, web addresses of the help menu, companion mark, wording of the
// "more tools" captions). Titles not in the table get the default row.
//
// Two title families derive their addresses from the title: the title is
// lower-cased, the family word and all blanks are removed, and the rest goes
// between the family's base address and the page path of each item, e.g.
// "Recaster Video Suite" -> <base>videosuite/help/Help_Content.html.
#include <QString>

namespace rc {

// Where this project's own pages live. Every address of the table hangs off it.
inline const QString kProjectSite = QStringLiteral("https://soundwright.example.org/");

struct TIdentity {
    QString Title;          // the key; empty for the default row
    QString IconName;       // "icons/<name>.png" beside the executable
    QString HelpContent;
    QString HowTos;
    QString HomePage;
    QString MoreTools;
    QString Updates;
    QString Support;
    bool Companion = false;      // one of the two builds the audio editor starts
    bool ShortMoreTools = false; // "more tools..." instead of "more free tools..."
};

// The row for a title: an exact row (title compared without regard to case),
// else a family row derived from the title, else the default row.
TIdentity IdentityFor(const QString& title);
const TIdentity& DefaultIdentity();
bool IsCompanionBuild(const QString& title);

// The page paths of the derived addresses.
inline const QString kPathHelpContent = QStringLiteral("/help/Help_Content.html");
inline const QString kPathHowTos = QStringLiteral("/help/HowTosVideoDemo.html");
inline const QString kPathMoreTools = QStringLiteral("/help/MoreFreeTools.html");
inline const QString kPathUpdates = QStringLiteral("/help/CheckForUpdates.html");
inline const QString kPathSupport = QStringLiteral("/help/Support.html");

}  // namespace rc
