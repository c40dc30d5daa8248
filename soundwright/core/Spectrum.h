#pragma once
// The spectral picture of one channel: a short-time Fourier transform (FFTW)
// per pixel column, Hann window, magnitudes in decibels from -120 to 0 dB
// mapped onto a colour ramp, low frequencies at the bottom.
#include <QImage>
#include <cstdint>

namespace sw { class TAudioEditor2; }

inline constexpr int kSpectrumWindow = 512;

// A picture of `size` for samples viewStart..viewEnd of channel `ch`.
QImage RenderSpectrum(sw::TAudioEditor2& editor, int ch, std::int64_t viewStart, std::int64_t viewEnd,
                      QSize size, bool dark);

// The colour of a level between 0 (silence) and 1 (full scale).
QRgb SpectrumColour(double level, bool dark);
