#include "Spectrum.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "editor/TAudioEditor2.h"

namespace {

// FFTW's planner is not thread-safe; plans are made once under a lock.
struct Plan {
    float* in = nullptr;
    fftwf_complex* out = nullptr;
    fftwf_plan plan = nullptr;
    Plan() {
        in = fftwf_alloc_real(kSpectrumWindow);
        out = fftwf_alloc_complex(kSpectrumWindow / 2 + 1);
        plan = fftwf_plan_dft_r2c_1d(kSpectrumWindow, in, out, FFTW_ESTIMATE);
    }
    ~Plan() {
        fftwf_destroy_plan(plan);
        fftwf_free(in);
        fftwf_free(out);
    }
};

Plan& SharedPlan() {
    static std::mutex m;
    std::lock_guard<std::mutex> lock(m);
    static Plan plan;
    return plan;
}

}  // namespace

QRgb SpectrumColour(double level, bool dark) {
    level = std::clamp(level, 0.0, 1.0);
    // Dark: black -> blue -> green -> yellow -> white. Light: white -> blue -> dark red.
    struct Stop { double at; int r, g, b; };
    static const Stop darkStops[] = {{0, 0, 0, 0}, {0.3, 0, 0, 140}, {0.55, 0, 170, 90}, {0.8, 240, 230, 0}, {1, 255, 255, 255}};
    static const Stop lightStops[] = {{0, 255, 255, 255}, {0.35, 150, 180, 255}, {0.65, 40, 40, 200}, {1, 120, 0, 0}};
    const Stop* stops = dark ? darkStops : lightStops;
    const int n = dark ? 5 : 4;
    for (int i = 1; i < n; ++i) {
        if (level <= stops[i].at) {
            const double t = (level - stops[i - 1].at) / (stops[i].at - stops[i - 1].at);
            auto mix = [t](int a, int b) { return int(a + (b - a) * t); };
            return qRgb(mix(stops[i - 1].r, stops[i].r), mix(stops[i - 1].g, stops[i].g), mix(stops[i - 1].b, stops[i].b));
        }
    }
    return qRgb(stops[n - 1].r, stops[n - 1].g, stops[n - 1].b);
}

QImage RenderSpectrum(sw::TAudioEditor2& editor, int ch, std::int64_t viewStart, std::int64_t viewEnd,
                      QSize size, bool dark) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(SpectrumColour(0, dark));
    const int w = image.width(), h = image.height();
    const std::int64_t length = editor.Position().Length();
    if (viewEnd <= viewStart || length <= 0) return image;
    constexpr int N = kSpectrumWindow;
    constexpr int bins = N / 2;
    static const std::vector<float> hann = [] {
        std::vector<float> v(N);
        for (int i = 0; i < N; ++i) v[i] = float(0.5 - 0.5 * std::cos(2 * M_PI * i / (N - 1)));
        return v;
    }();
    Plan& plan = SharedPlan();
    std::vector<float> block(N);
    std::vector<float> column(bins);
    const double perPixel = double(viewEnd - viewStart) / w;
    // Rows to bins: bin of row y (row 0 at the top = highest frequency).
    std::vector<int> rowBin(h);
    for (int y = 0; y < h; ++y) rowBin[y] = std::clamp(int((h - 1 - y) * double(bins) / h), 0, bins - 1);
    for (int x = 0; x < w; ++x) {
        const std::int64_t centre = viewStart + std::int64_t((x + 0.5) * perPixel);
        if (centre >= length) break;
        const std::int64_t from = centre - N / 2;
        std::fill(block.begin(), block.end(), 0.0f);
        const std::int64_t readFrom = std::max<std::int64_t>(0, from);
        const std::int64_t skip = readFrom - from;
        const std::int64_t count = std::min<std::int64_t>(N - skip, length - readFrom);
        if (count > 0) editor.ReadChannel(ch, readFrom, count, block.data() + skip);
        for (int i = 0; i < N; ++i) plan.in[i] = block[i] * hann[i];
        fftwf_execute(plan.plan);
        for (int b = 0; b < bins; ++b) {
            const double re = plan.out[b][0], im = plan.out[b][1];
            const double mag = std::sqrt(re * re + im * im) * 4.0 / N;   // full-scale sine ~ 1
            const double db = mag > 0 ? 20 * std::log10(mag) : -200;
            column[b] = float(std::clamp((db + 120.0) / 120.0, 0.0, 1.0));
        }
        for (int y = 0; y < h; ++y) image.setPixel(x, y, SpectrumColour(column[rowBin[y]], dark));
    }
    return image;
}
