#pragma once
// Fixtures shared by the codec tests: tone files made by the command-line
// tools, in-memory signals, and decoding a whole file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "codec/Decoder.h"
#include "codec/Encoder.h"
#include "codec/Tags.h"

namespace codectest {

inline std::string S(const QString& s) { return s.toStdString(); }

// Decodes a whole file through AudioDecoder in blocks of `block` frames.
inline sw::PlanarBuffer DecodeAll(const std::string& path, int block = 65536) {
    auto d = sw::AudioDecoder::Open(path);
    sw::PlanarBuffer out;
    out.sampleRate = d->SampleRate();
    out.channels.resize(size_t(d->Channels()));
    std::vector<std::vector<float>> tmp(size_t(d->Channels()), std::vector<float>(size_t(block)));
    std::vector<float*> ptrs;
    for (auto& t : tmp) ptrs.push_back(t.data());
    for (;;) {
        const int n = d->Read(ptrs.data(), block);
        if (n == 0) break;
        for (size_t c = 0; c < tmp.size(); ++c) out.channels[c].insert(out.channels[c].end(), tmp[c].begin(), tmp[c].begin() + n);
    }
    return out;
}

inline double Rms(const std::vector<float>& v) {
    if (v.empty()) return 0;
    double s = 0;
    for (float x : v) s += double(x) * x;
    return std::sqrt(s / double(v.size()));
}

// A sine per channel: channel c has amplitude amp[c] and frequency 440*(c+1).
inline sw::PlanarBuffer Sine(int rate, int channels, double seconds, std::vector<float> amp = {0.5f, 0.25f}) {
    sw::PlanarBuffer b;
    b.sampleRate = rate;
    b.resize(channels, sw::SampleCount(std::llround(seconds * rate)));
    for (int c = 0; c < channels; ++c)
        for (size_t i = 0; i < b.channels[size_t(c)].size(); ++i)
            b.channels[size_t(c)][i] =
                amp[size_t(c) % amp.size()] * float(std::sin(2 * M_PI * 440.0 * (c + 1) * double(i) / rate));
    return b;
}

// A sine with added white noise (a fixed pseudo-random sequence): something
// the lossy encoders cannot squeeze into a few bits.
inline sw::PlanarBuffer Noisy(int rate, int channels, double seconds, float noise = 0.3f) {
    sw::PlanarBuffer b = Sine(rate, channels, seconds, {0.4f, 0.3f});
    std::uint32_t x = 12345;
    for (auto& ch : b.channels)
        for (float& v : ch) {
            x = x * 1664525u + 1013904223u;
            v += noise * (float(x >> 8) / float(1u << 24) * 2.0f - 1.0f);
        }
    return b;
}

// Encodes a buffer in blocks of `block` frames and finishes the file.
inline void Encode(int code, const sw::FileFormat& f, const std::string& path, const sw::PlanarBuffer& b,
                   const sw::AudioTags& tags = {}, int block = 10000) {
    auto e = sw::AudioEncoder::Create(code, f, path, b.sampleRate, b.channelCount(), tags);
    std::vector<const float*> ptrs(static_cast<size_t>(b.channelCount()));
    for (sw::SampleCount pos = 0; pos < b.frames(); pos += block) {
        const int n = int(std::min<sw::SampleCount>(block, b.frames() - pos));
        for (int c = 0; c < b.channelCount(); ++c) ptrs[size_t(c)] = b.channels[size_t(c)].data() + pos;
        e->Write(ptrs.data(), n);
    }
    e->Finish();
}

inline QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteBytes(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// Names in a folder other than "." and "..", to find stray temporary files.
inline QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

}  // namespace codectest

namespace sw {
inline void PrintTo(const AudioTags& t, std::ostream* os) {
    *os << "{title '" << t.Title << "', artist '" << t.Artist << "', album '" << t.Album << "', comment '"
        << t.Comment << "', genre " << t.Genre << ", year " << t.Year << "}";
}
}  // namespace sw
