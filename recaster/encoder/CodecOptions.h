#pragma once
// Encoder and option names as older FFmpeg releases spelled them, turned
// into what the linked libraries understand.
#include <QString>
#include <QStringList>
#include <vector>

namespace rc {

enum TOptionScope { ScopeAny = 0, ScopeVideo, ScopeAudio };

struct TCodecOption {
    QString Name;
    QString Value;
    TOptionScope Scope = ScopeAny;
    bool operator==(const TCodecOption&) const = default;
};

// The encoder that stands for a requested name: the name itself when the
// libraries have it, else a listed replacement or another encoder of the
// same coding format; empty when there is none.
QString ResolveEncoderName(const QString& requested);

// Splits "name=value" lines (CR LF, LF or CR separated); blank lines and
// lines without "=" are dropped.
std::vector<TCodecOption> ParseOptionLines(const QString& text, TOptionScope scope = ScopeAny);
std::vector<TCodecOption> ParseOptionList(const QStringList& lines, TOptionScope scope = ScopeAny);

// Rewrites options of the older vocabulary into current ones, in order:
// "aq" becomes the fixed audio quality, the "flags2" parts of x264 become
// its own switches, "deblockalpha"/"deblockbeta" one "deblock", and so on.
// Options without a translation pass unchanged.
std::vector<TCodecOption> TranslateOptions(const std::vector<TCodecOption>& options);

}  // namespace rc
