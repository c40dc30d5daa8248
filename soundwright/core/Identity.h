#pragma once
// Who this copy of the program is: the display name and version label from
// the profile file "lame.dll" beside the executable, and what the identity
// table gives that name (colour scheme, web addresses, hidden commands).
#include <QString>

namespace sw { class IniFile; }

// The addresses of this project's own pages.
inline constexpr const char* kProjectSite = "https://soundwright.example.org";

struct ProductIdentity {
    QString displayName;
    QString version;
    int colorScheme = 0;          // 0..4
    QString productPage;
    QString supportPage;
    QString homePage;
    // Hides the CD burner, CD ripper, disc eraser, video import and
    // video-page download companions.
    bool hideCompanions = false;
};

// The identity row for a display name; a name the table does not hold gets
// the default row's values under its own name.
ProductIdentity IdentityFor(const QString& displayName);

// Reads section SYSTEM, keys Name and Version of the profile; a missing
// profile or name gives the default row's name.
ProductIdentity ReadProfile(const QString& profilePath);

QString DefaultDisplayName();
