#include "vis/SpecAnVis.h"

#include <algorithm>
#include <cmath>

#include "audio/PeakResampler.h"
#include "pym/core/XMLLoadSave.h"
#include "pym/gfx/Image.h"
#include "pym/gfx/ImageServer.h"
#include "pym/gfx/Interpolation.h"

namespace {

using Pym::XMLLoadSave;

// What a bar can show of a value: 0 to 1, nothing for what is not a number.
float Shown(float value) {
    return std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
}

}  // namespace

SpecAnVis::SpecAnVis(TiXmlElement* element, SampleSource source) : source_(std::move(source)) {
    int bars = 0;
    if (element) {
        if (const TiXmlElement* image = element->FirstChildElement("Image"))
            XMLLoadSave::ReadAttribute(picture_, image, "ImageFile");
        if (const TiXmlElement* bar = element->FirstChildElement("Bar")) {
            XMLLoadSave::ReadAttribute(margin_, bar, "PercOfVizForBar");
            Pym::ColourPtr colour;
            if (XMLLoadSave::ReadAttribute(colour, bar, "Color") && colour) peakColour_ = *colour;
        }
        if (const TiXmlElement* config = element->FirstChildElement("Config"))
            XMLLoadSave::ReadAttribute(bars, config, "NumBars");
    }
    if (!std::isfinite(margin_)) margin_ = 0.05f;
    margin_ = std::clamp(margin_, 0.0f, 1.0f);
    const std::size_t count = static_cast<std::size_t>(std::clamp(bars, 0, 4096));
    values_.assign(count, 0.0f);
    levels_.assign(count, 0.0f);
    peaks_.assign(count, 0.0f);
    holds_.assign(count, 0);
}

void SpecAnVis::Sample() {
    if (levels_.empty()) return;
    std::fill(values_.begin(), values_.end(), 0.0f);
    if (source_) PeakKeepingResample(source_(), values_, true);
    for (std::size_t i = 0; i < levels_.size(); ++i) {
        const float value = Shown(values_[i]);
        float& level = levels_[i];
        level = value > level ? value : std::max(value, level * kFall);
        float& peak = peaks_[i];
        int& hold = holds_[i];
        if (value > peak) {
            peak = value;
            hold = 0;
        } else if (hold >= kHoldRedraws) {
            const float late = static_cast<float>(hold - kHoldRedraws);
            peak = std::max(value, peak / (1.0f + 0.002f * late * late));
        }
        ++hold;
    }
}

void SpecAnVis::DrawBar(Pym::Gfx::DrawContext& context, const Pym::Gfx::Rect& strip, float top,
                        float bottom) {
    if (bottom <= top || strip.width <= 0 || strip.height <= 0) return;
    const int width = static_cast<int>(strip.width), height = static_cast<int>(strip.height);
    if (!picture_.empty() && (width != stripWidth_ || height != stripHeight_)) {
        stripWidth_ = width;
        stripHeight_ = height;
        try {
            // One picture serves every bar: each reveals as much of it as its level reaches.
            strip_ = Pym::DllGfxLayerImageServerInstance().GetImage(true, picture_, width, height,
                                                                    Pym::Gfx::InterpolationDefault);
        } catch (const Pym::Gfx::Image::InvalidImageException&) {
            picture_.clear();  // reported by the server; plain bars from now on
            strip_.reset();
        }
    }
    if (strip_) {
        context.PushClip({strip.x, top, strip.width, bottom - top});
        context.DrawImage(*strip_, strip, Pym::Gfx::InterpolationDefault);
        context.PopClip();
        return;
    }
    context.FillRect({strip.x, top, strip.width, bottom - top}, peakColour_);
}

Pym::Gfx::Rect SpecAnVis::ChangedArea(const Pym::Gfx::Rect& area) const {
    const bool same = area == drawnArea_ && levels_ == drawnLevels_ && peaks_ == drawnPeaks_;
    return same ? Pym::Gfx::Rect{} : area;
}

void SpecAnVis::DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int w, int h) {
    drawnLevels_ = levels_;
    drawnPeaks_ = peaks_;
    drawnArea_ = AreaOf(x, y, w, h);
    const int bars = BarCount();
    if (bars == 0 || w <= 0 || h <= 0) return;
    const int m = static_cast<int>(std::lround(h * margin_));
    const int barWidth = static_cast<int>(std::lround(static_cast<double>(w) / bars)) - 2;
    const int markerWidth = w / bars - 2;
    const int marker = std::max(1, m);
    const float stripHeight = static_cast<float>(h - m);
    for (int i = 0; i < bars; ++i) {
        const float left = static_cast<float>(x + static_cast<long long>(i) * w / bars + 1);
        const float level = levels_[static_cast<std::size_t>(i)];
        const float top = static_cast<float>(y + m + (h - m) - std::lround((h - m) * level));
        DrawBar(context,
                {left, static_cast<float>(y + m), static_cast<float>(barWidth), stripHeight}, top,
                static_cast<float>(y + h));
        if (markerWidth > 0) {
            // Without a margin a full peak's marker would stand above the rectangle.
            const float peakTop = static_cast<float>(std::clamp<long>(
                y + h - std::lround((h - m) * peaks_[static_cast<std::size_t>(i)]) - marker, y,
                y + h - marker));
            context.FillRect(
                {left, peakTop, static_cast<float>(markerWidth), static_cast<float>(marker)},
                peakColour_);
        }
    }
}
