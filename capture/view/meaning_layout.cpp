#include "capture/view/meaning_layout.h"

#include "capture/view/wave_geometry.h"

#include <algorithm>
#include <cstdio>

namespace quvan {

namespace {

char RoleLetter(PulseRole role) {
    switch (role) {
    case PulseRole::Zero:
        return '0';
    case PulseRole::One:
        return '1';
    case PulseRole::Leader:
        return 'L';
    case PulseRole::Repeat:
        return 'R';
    case PulseRole::Trailer:
        return 'T';
    case PulseRole::None:
        break;
    }
    return 0;
}

// Keeps labels of one row from touching: a label is dropped when it starts
// less than a pixel after the one before it ends.
void DropOverlaps(std::vector<MeaningLabel>& labels) {
    std::stable_sort(labels.begin(), labels.end(),
                     [](const MeaningLabel& a, const MeaningLabel& b) {
                         return a.row != b.row ? a.row < b.row : a.x < b.x;
                     });
    std::vector<MeaningLabel> kept;
    kept.reserve(labels.size());
    for (const MeaningLabel& l : labels) {
        if (!kept.empty() && kept.back().row == l.row && l.x <= kept.back().x + kept.back().width)
            continue;
        kept.push_back(l);
    }
    labels.swap(kept);
}

} // namespace

MeaningLayout LayOutMeanings(const WaveLane& lane, const PulseMeanings& meanings, int zoom,
                             int glyphWidth, int labelRight, int imageWidth) {
    MeaningLayout out;
    if (zoom <= 0 || meanings.empty())
        return out;
    const int pairs = std::min<int>(lane.LastIndex + 1, static_cast<int>(meanings.Roles.size()));
    // Rising edge of every pair and the end of the last, as DrawPair places them.
    std::vector<int> rise(static_cast<std::size_t>(pairs) + 1);
    std::int64_t t = 0;
    int visible = 0;
    for (int j = 0; j <= pairs; ++j) {
        rise[static_cast<std::size_t>(j)] =
            static_cast<int>(std::min<std::int64_t>(XOfTime(t, zoom), imageWidth));
        if (j < pairs) {
            t += lane.Pairs[static_cast<std::size_t>(j)].Width;
            if (rise[static_cast<std::size_t>(j)] < imageWidth)
                visible = j + 1;
        }
    }
    auto span = [&](int j) {
        return rise[static_cast<std::size_t>(j) + 1] - rise[static_cast<std::size_t>(j)];
    };

    // Bits are shown all or none, so that a missing digit is never read as
    // a gap in the code: the narrowest bit on the image decides.
    int narrowest = imageWidth;
    bool anyBit = false;
    for (int j = 0; j < visible; ++j) {
        if (meanings.isBit(static_cast<std::size_t>(j)) &&
            rise[static_cast<std::size_t>(j) + 1] < imageWidth) {
            narrowest = std::min(narrowest, span(j));
            anyBit = true;
        }
    }
    out.bitsShown = anyBit && narrowest >= glyphWidth + 1;

    for (int j = 0; j < visible; ++j) {
        const PulseRole role = meanings.Roles[static_cast<std::size_t>(j)];
        const char letter = RoleLetter(role);
        if (letter == 0)
            continue;
        const bool bit = role == PulseRole::Zero || role == PulseRole::One;
        // A pulse cut by the image's edge gets no label.
        if ((bit && !out.bitsShown) || span(j) < glyphWidth + 1 ||
            rise[static_cast<std::size_t>(j) + 1] >= imageWidth)
            continue;
        MeaningLabel l;
        l.x = rise[static_cast<std::size_t>(j)] + (span(j) - glyphWidth) / 2;
        l.width = glyphWidth;
        if (l.x + l.width > imageWidth)
            continue;
        l.row = MeaningRow::Below;
        l.kind = bit ? MeaningKind::Bit : MeaningKind::Role;
        l.text[0] = letter;
        out.labels.push_back(l);
    }

    const int hexWidth = 2 * glyphWidth;
    const MeaningRow byteRow = out.bitsShown ? MeaningRow::Above : MeaningRow::Below;
    int lastBoundary = -1;
    for (const DecodedByte& b : meanings.Bytes) {
        if (b.FirstPair < 0 || b.LastPair < b.FirstPair || b.LastPair >= pairs)
            continue;
        const int left = rise[static_cast<std::size_t>(b.FirstPair)];
        const int right = rise[static_cast<std::size_t>(b.LastPair) + 1];
        if (left >= imageWidth)
            break;
        // Boundaries need a few pixels between them to mean anything.
        if (right - left >= 4) {
            if (left != lastBoundary)
                out.boundaries.push_back(left);
            if (right < imageWidth)
                out.boundaries.push_back(right);
            lastBoundary = right;
        }
        if (right - left < hexWidth + 2)
            continue;
        MeaningLabel l;
        l.x = left + (right - left - hexWidth) / 2;
        l.width = hexWidth;
        if (l.x + l.width > imageWidth || (byteRow == MeaningRow::Above && l.x < labelRight))
            continue;
        l.row = byteRow;
        l.kind = MeaningKind::Byte;
        std::snprintf(l.text, sizeof l.text, "%02X", b.Value);
        out.labels.push_back(l);
    }
    DropOverlaps(out.labels);
    return out;
}

} // namespace quvan
