#pragma once

#include <functional>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "pym/core/ValueTypes.h"
#include "pym/gfx/CachedLayer.h"
#include "vis/EasedValue.h"
#include "vis/VisBase.h"
#include "vis/VisSources.h"

// A frequency scale around a target: its ends, and what its marks read.
struct Scale {
    float low = 0.0f;
    float high = 0.0f;
};

// What a scale display is fed: the detected frequency, the target it is measured against, the
// scale for a target (rebuilt whenever the target changes), and its marks: the values they read
// in the scale's unit (distances from the target, say -50 to +50 cents) and the frequency each
// value stands for.
struct ScaleFeed {
    ValueSource detected;
    ValueSource target;
    std::function<Scale(float target)> scaleOf;
    std::vector<float> marks;
    std::function<float(float value, float target)> frequencyOf;
    std::string unit;
};

// The base of the displays that show where the detected frequency lies on a scale around the
// target: a needle, a sliding marker, a fret strip. Its place on the scale (0 at the low end,
// 1 at the high end, 0.5 at the target) is eased between read-outs for drawing; a detected
// frequency off the scale pins it to the end it passed.
//
// The colours are the tuner's: in tune ("InTuneColor"), flat ("FlatColor") and sharp
// ("SharpColor"), within "InTuneBand" (a fraction of half the scale, 0.1: five cents on a
// cents scale) of the target counting as in tune. The marks and their labels use "Color".
class ScaleVis : public VisBase {
public:
    explicit ScaleVis(ScaleFeed feed);

    // Reads the colours from the element (attributes as above; all optional).
    void LoadLook(const TiXmlElement* element);

    void Sample() override;
    // The scale from its layer, kept while the size, colours and marks stay, then the marker.
    void DrawVis(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) final;
    // While the scale stays, only around the marker where it was drawn and where it goes.
    Pym::Gfx::Rect ChangedArea(const Pym::Gfx::Rect& area) const final;
    void ForgetDrawn() final { drawnArea_ = {}; }
    bool Tick(double seconds) override;
    bool Moving() const override { return !place_.Arrived(); }

    const Scale& CurrentScale() const { return scale_; }
    // The detected frequency's place, exact and as drawn.
    float Place() const { return place_.Target(); }
    float ShownPlace() const { return place_.Shown(); }
    // Jumps the drawn place to the exact one (for pictures of a settled display).
    void Settle() { place_.Settle(); }

protected:
    // What stays from one drawing to the next: arcs or tracks, marks, labels.
    virtual void DrawScale(Pym::Gfx::DrawContext& context, int x, int y, int width, int height) = 0;
    // What follows the detected frequency: a needle, a marker, a dot.
    virtual void DrawMarker(Pym::Gfx::DrawContext& context, int x, int y, int width,
                            int height) = 0;
    // What the marker at `place` covers, before antialiasing; empty where none is drawn.
    virtual Pym::Gfx::Rect MarkerBounds(int x, int y, int width, int height, float place) const = 0;

    // The colour for a place: in tune near the middle, flat below, sharp above.
    const Pym::ColourValue& ColourAt(float place) const;
    // The marks: where each lies on the scale (0 to 1) and what it reads ("-25", "0", "+25").
    struct Mark {
        float place;
        std::string label;
    };
    const std::vector<Mark>& Marks() const { return marks_; }
    const std::string& Unit() const { return feed_.unit; }

    Pym::ColourValue markColour_{255, 154, 160, 173};
    Pym::ColourValue inTune_{255, 61, 220, 132};
    Pym::ColourValue flat_{255, 76, 201, 240};
    Pym::ColourValue sharp_{255, 255, 92, 92};
    float inTuneBand_ = 0.1f;

private:
    void BuildMarks();
    // How close to its place the drawn marker counts as there.
    float Arrived() const;

    ScaleFeed feed_;
    float target_ = -1.0f;
    Scale scale_;
    std::vector<Mark> marks_;
    EasedValue place_;
    Pym::Gfx::CachedLayer scaleLayer_;
    int drawnWidth_ = 0;        // pixels the scale spanned when last drawn
    Pym::Gfx::Rect drawnArea_;  // the last drawing's rectangle, while it is on the screen
    float drawnPlace_ = 0.0f;   // and its marker's place
};
