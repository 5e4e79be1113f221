#pragma once
// A waveform strip followed through playback against one drawn afresh at
// each place: what is moved along must look the same as what is drawn whole.
#include "player/waveform_view.h"

#include <QtTest>
#include <memory>
#include <optional>
#include <vector>

namespace followed_strip {

// Ten minutes of peaks whose shape changes from column to column.
inline std::shared_ptr<quillory::WaveformPeaks> variedPeaks()
{
    auto peaks = std::make_shared<quillory::WaveformPeaks>();
    std::vector<quillory::Peak> bins(60000);
    for (size_t i = 0; i < bins.size(); ++i) {
        bins[i].low = static_cast<std::int8_t>(-static_cast<int>((i * 7) % 90));
        bins[i].high = static_cast<std::int8_t>((i * 13) % 100);
    }
    peaks->assignComplete(bins, 600000);
    return peaks;
}

// Follows a shown strip from 10 s by each of `steps`, `repeats` times each;
// after every move, the first place where it differs from a strip drawn
// afresh there, or nothing.
inline std::optional<QString> firstDifference(const std::vector<double> &steps, int repeats,
                                              const std::vector<double> &bookmarks = {})
{
    const auto peaks = variedPeaks();
    const auto drawnAt = [](WaveformView &view, double positionMs) {
        view.setPosition(positionMs, 600000);
        QCoreApplication::processEvents();
        return view.grab().toImage();
    };
    WaveformView followed;
    followed.resize(328, WaveformView::StripHeight);
    followed.setPeaks(peaks);
    followed.setBookmarks(bookmarks);
    followed.setPosition(10000, 600000);
    followed.show();
    if (!QTest::qWaitForWindowExposed(&followed))
        return QStringLiteral("the strip was never shown");
    double position = 10000;
    for (double step : steps) {
        for (int i = 0; i < repeats; ++i) {
            position += step;
            const QImage moved = drawnAt(followed, position);
            WaveformView fresh;
            fresh.resize(328, WaveformView::StripHeight);
            fresh.setPeaks(peaks);
            fresh.setBookmarks(bookmarks);
            if (moved != drawnAt(fresh, position))
                return QStringLiteral("at %1 ms, steps of %2").arg(position).arg(step);
        }
    }
    return std::nullopt;
}

} // namespace followed_strip
