#include "CodecOptions.h"

#include <QRegularExpression>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/avutil.h>
}

namespace rc {

namespace {

struct TNamePair {
    const char* Old;
    const char* New;
};

// Encoders that are gone, with the one of the same coding format to use.
const TNamePair kEncoderReplacements[] = {
    {"libfaac", "aac"}, {"libvo_aacenc", "aac"}, {"libaacplus", "aac"}, {"libxvid", "mpeg4"}, {"libschroedinger", "dirac"}, {"libdirac", "dirac"},
};

// Option names that were renamed.
const TNamePair kRenamed[] = {
    {"directpred", "direct-pred"}, {"wpredp", "weightp"}, {"me_method", "motion-est"},
};

// x264 flags of the old "flags2" option and the switches of today.
const TNamePair kFlags2[] = {
    {"mixed_refs", "mixed-refs"}, {"wpred", "weightb"}, {"dct8x8", "8x8dct"}, {"fastpskip", "fast-pskip"},
    {"bpyramid", "b-pyramid"}, {"aud", "aud"}, {"mbtree", "mbtree"}, {"psy", "psy"},
};

// Old partition flags and the names x264 takes.
const TNamePair kPartitions[] = {
    {"parti4x4", "i4x4"}, {"parti8x8", "i8x8"}, {"partp4x4", "p4x4"}, {"partp8x8", "p8x8"}, {"partb8x8", "b8x8"},
};

const char* Lookup(const TNamePair* begin, const TNamePair* end, const QString& name) {
    for (const TNamePair* p = begin; p != end; ++p)
        if (name == QLatin1String(p->Old)) return p->New;
    return nullptr;
}

// "+a+b-c" into its parts with their signs.
std::vector<std::pair<bool, QString>> FlagParts(const QString& value) {
    std::vector<std::pair<bool, QString>> parts;
    static const QRegularExpression re("([+-]?)([A-Za-z0-9_]+)");
    auto it = re.globalMatch(value);
    while (it.hasNext()) {
        const auto m = it.next();
        parts.emplace_back(m.captured(1) != "-", m.captured(2));
    }
    return parts;
}

QString Unquoted(QString v) {
    v = v.trimmed();
    if (v.size() >= 2 && ((v.startsWith('\'') && v.endsWith('\'')) || (v.startsWith('"') && v.endsWith('"'))))
        v = v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

QString ResolveEncoderName(const QString& requested) {
    if (requested.isEmpty()) return {};
    const QByteArray name = requested.toUtf8();
    if (avcodec_find_encoder_by_name(name.constData())) return requested;
    if (const char* r = Lookup(std::begin(kEncoderReplacements), std::end(kEncoderReplacements), requested))
        if (avcodec_find_encoder_by_name(r)) return QString::fromLatin1(r);
    // A coding format's own name, or a decoder's name: its default encoder.
    AVCodecID id = AV_CODEC_ID_NONE;
    if (const AVCodecDescriptor* d = avcodec_descriptor_get_by_name(name.constData())) id = d->id;
    else if (const AVCodec* dec = avcodec_find_decoder_by_name(name.constData())) id = dec->id;
    if (id != AV_CODEC_ID_NONE)
        if (const AVCodec* enc = avcodec_find_encoder(id)) return QString::fromLatin1(enc->name);
    return {};
}

std::vector<TCodecOption> ParseOptionList(const QStringList& lines, TOptionScope scope) {
    std::vector<TCodecOption> out;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        const int eq = line.indexOf('=');
        if (line.isEmpty() || eq <= 0) continue;
        out.push_back({line.left(eq).trimmed(), line.mid(eq + 1).trimmed(), scope});
    }
    return out;
}

std::vector<TCodecOption> ParseOptionLines(const QString& text, TOptionScope scope) {
    static const QRegularExpression breaks("\r\n|\n|\r");
    return ParseOptionList(text.split(breaks), scope);
}

std::vector<TCodecOption> TranslateOptions(const std::vector<TCodecOption>& options) {
    std::vector<TCodecOption> out;
    int deblockAt = -1;
    QString alpha = "0", beta = "0";
    for (const TCodecOption& o : options) {
        if (o.Name == "aq") {
            // The fixed quality of the audio encoder, as -q:a sets it.
            bool ok = false;
            const double q = o.Value.toDouble(&ok);
            if (!ok) {
                out.push_back(o);
                continue;
            }
            out.push_back({"flags", "+qscale", ScopeAudio});
            out.push_back({"global_quality", QString::number(qRound(q * FF_QP2LAMBDA)), ScopeAudio});
        } else if (o.Name == "flags2") {
            QStringList kept;
            for (const auto& [on, part] : FlagParts(o.Value)) {
                if (const char* sw = Lookup(std::begin(kFlags2), std::end(kFlags2), part))
                    out.push_back({sw, on ? "1" : "0", o.Scope});
                else
                    kept << (on ? "+" : "-") + part;
            }
            if (!kept.isEmpty()) out.push_back({"flags2", kept.join(QString()), o.Scope});
        } else if (o.Name == "deblockalpha" || o.Name == "deblockbeta") {
            (o.Name == "deblockalpha" ? alpha : beta) = o.Value;
            if (deblockAt < 0) {
                deblockAt = int(out.size());
                out.push_back({"deblock", {}, o.Scope});
            }
            out[deblockAt].Value = alpha + ":" + beta;
        } else if (o.Name == "partitions" && o.Value.contains("part")) {
            QStringList names;
            for (const auto& [on, part] : FlagParts(o.Value))
                if (const char* p = Lookup(std::begin(kPartitions), std::end(kPartitions), part); p && on) names << p;
            out.push_back({"partitions", names.isEmpty() ? "none" : names.join(','), o.Scope});
        } else if (const char* renamed = Lookup(std::begin(kRenamed), std::end(kRenamed), o.Name)) {
            out.push_back({renamed, o.Value, o.Scope});
        } else if (o.Name == "rc_eq") {
            out.push_back({o.Name, Unquoted(o.Value), o.Scope});
        } else {
            out.push_back(o);
        }
    }
    return out;
}

}  // namespace rc
