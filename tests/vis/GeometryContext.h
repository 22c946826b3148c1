#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "pym/gfx/DrawContext.h"

namespace Testing {

// A drawing context that keeps every point the displays draw at (corners of rectangles and
// ellipses, ends of lines, polyline points) and every text, for tests of where things land.
class GeometryContext : public Pym::Gfx::DrawContext {
public:
    using Point = Pym::Gfx::Point;
    using Rect = Pym::Gfx::Rect;

    float PushAlpha(float) override { return 1.0f; }
    void PopAlpha(float) override {}
    float Alpha() const override { return 1.0f; }
    void Translate(float, float) override {}
    void Rotate(float) override {}
    void Scale(float, float) override {}
    void PushClip(const Rect&) override {}
    void PopClip() override {}
    void SetClip(const Pym::Gfx::Region&) override {}
    bool FillRect(const Rect& r, const Pym::ColourValue& colour) override {
        rects.push_back(r);
        colours.push_back(colour);
        return Corners(r);
    }
    bool FillGradient(const Rect& r, const Pym::ColourValue&, const Pym::ColourValue&) override {
        return Corners(r);
    }
    bool DrawLine(const Pym::Gfx::Pen&, Point from, Point to) override {
        lines.push_back({from, to});
        points.push_back(from);
        points.push_back(to);
        return true;
    }
    bool Draw3DRect(const Rect& r, const Pym::Gfx::Pen&, const Pym::Gfx::Pen&) override {
        return Corners(r);
    }
    bool DrawImage(const Pym::Gfx::Image&, const Rect& r, int) override {
        images.push_back(r);
        return Corners(r);
    }
    bool DrawString(const Pym::Gfx::Font&, const std::string& text, const Rect& r,
                    const Pym::ColourValue&, Pym::Gfx::TextAlignment,
                    Pym::Gfx::TextTrimming) override {
        texts.push_back(text);
        return Corners(r);
    }
    bool DrawPolyline(const Pym::Gfx::Pen&, const Point* at, int count) override {
        polyline.assign(at, at + count);
        points.insert(points.end(), at, at + count);
        return true;
    }
    bool FillEllipse(const Rect& r, const Pym::ColourValue& colour) override {
        ellipses.push_back(r);
        colours.push_back(colour);
        return Corners(r);
    }
    bool FillRoundedRect(const Rect& r, float, const Pym::ColourValue& colour) override {
        return FillRect(r, colour);
    }
    bool DrawArc(const Pym::Gfx::Pen&, Point centre, float radius, float from, float to) override {
        for (int i = 0; i <= 16; ++i) {
            const float angle = (from + (to - from) * i / 16.0f) * 3.14159265f / 180.0f;
            points.push_back(
                {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)});
        }
        return true;
    }

    // Whether every point is a number and lies within the rectangle (edges included).
    bool AllInside(float x, float y, float width, float height) const {
        for (const Point& p : points)
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || p.x < x - 0.01f || p.y < y - 0.01f ||
                p.x > x + width + 0.01f || p.y > y + height + 0.01f)
                return false;
        return true;
    }
    bool AllFinite() const {
        for (const Point& p : points)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
        return true;
    }
    void Clear() { *this = GeometryContext(); }

    std::vector<Point> points;
    std::vector<Point> polyline;
    std::vector<Rect> rects, images, ellipses;
    std::vector<std::pair<Point, Point>> lines;
    std::vector<Pym::ColourValue> colours;
    std::vector<std::string> texts;

private:
    bool Corners(const Rect& r) {
        points.push_back({r.x, r.y});
        points.push_back({r.x + r.width, r.y + r.height});
        return true;
    }
};

}  // namespace Testing
