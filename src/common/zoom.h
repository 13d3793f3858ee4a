#pragma once
// The horizontal and vertical zoom factors of the plots, by slider position 0..12,
// and the channel window a zoomed plot shows.

#include <algorithm>
#include <array>

namespace vorelbox::common {

inline constexpr std::array<double, 13> ZOOM_FACTORS{1.0, 1.0, 1.4, 2.0, 2.8, 4.0, 5.6, 8.0, 11.0, 16.0, 20.0, 28.0, 40.0};

// Where a plot's last drawing put the channels: channel `first` (X1) at x = `left`
// and `pixels_per_channel` (px) pixels per channel to the right of it, inside the
// plot box from `left` to `right`. A px of 0: nothing was drawn.
struct ChannelScale {
    int first = 1;
    double pixels_per_channel = 0.0;
    int left = 0;
    int right = 0;
};

struct ChannelWindow {
    int first = 1;
    int last = 0;
};

// The channels shown of `channels` at a zoom position, starting at `first`
// (clamped so that the window stays inside the spectrum).
inline ChannelWindow channel_window(int channels, int zoom_index, int first) {
    if (channels < 1) {
        return {1, 0};
    }
    const auto zoom = ZOOM_FACTORS[static_cast<std::size_t>(std::clamp(zoom_index, 0, 12))];
    const int visible = std::max(1, static_cast<int>(channels / zoom));
    const int start = std::clamp(first, 1, channels - visible + 1);
    return {start, start + visible - 1};
}

// The window of that zoom with `channel` in its middle.
inline ChannelWindow centred_window(int channels, int zoom_index, int channel) {
    const ChannelWindow whole = channel_window(channels, zoom_index, 1);
    const int visible = whole.last - whole.first + 1;
    return channel_window(channels, zoom_index, channel - visible / 2);
}

}  // namespace vorelbox::common
