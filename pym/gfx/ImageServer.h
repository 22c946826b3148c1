#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "pym/gfx/Image.h"
#include "pym/gfx/PictureFile.h"

namespace Pym {

// Loads, scales and caches the skin's pictures: each displayed size of a picture is made
// once and then only copied. Sizes of a picture that were not used for five seconds are
// dropped when the same picture is asked for at another size.
class GfxLayerImageServer_ {
public:
    struct ImageCache {
        double lastUse = 0.0;  // seconds since the server started
        int useCount = 0;
        Pym::Gfx::ImagePtr image;
        int width = -1;
        int height = -1;
    };

    // Seconds since the server started; tests give their own clock.
    using Clock = std::function<double()>;

    GfxLayerImageServer_();
    explicit GfxLayerImageServer_(Clock clock);

    // The picture at `path` made for width x height. With `exact`, an entry of exactly that
    // size (made now if needed); otherwise the first entry of the path. A size below 1 gives
    // the picture at its own size. Throws Pym::Gfx::Image::InvalidImageException.
    Pym::Gfx::ImagePtr GetImage(bool exact, const std::string& path, int width, int height,
                                int interpolation);

    // Reads and parses the picture at `path` without making it at any size, so that a bad file
    // is known now; the first size it is drawn at is made from this reading. Throws
    // Pym::Gfx::Image::InvalidImageException.
    void Check(const std::string& path);

    // Drops every file reading kept for pictures yet to be drawn (states not shown yet): each
    // is read again when first drawn.
    void ForgetReadings() { read_.clear(); }

    std::size_t EntryCount(const std::string& path) const;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    static constexpr double kPruneAfterSeconds = 5.0;

private:
    std::string Resolve(const std::string& path) const;
    std::shared_ptr<ImageCache> MakeEntry(const std::string& resolved, int width, int height,
                                          int interpolation);
    // The picture at `resolved` made at width x height (its own size below 1); the first
    // failure for a path is reported to the user.
    Pym::Gfx::ImagePtr Load(const std::string& resolved, int width, int height);
    // The file at `resolved`, read now or kept from an earlier reading; readings unused for
    // kPruneAfterSeconds are dropped.
    std::shared_ptr<Pym::Gfx::PictureFile> Read(const std::string& resolved);
    // Reports the first failure for a path to the user, then throws.
    [[noreturn]] void Unreadable(const std::string& resolved);

    Clock clock_;
    std::map<std::string, std::vector<std::shared_ptr<ImageCache>>> cache_;
    // Pictures at their own size, one per path.
    std::map<std::string, Pym::Gfx::ImagePtr> unscaled_;
    struct Reading {
        std::shared_ptr<Pym::Gfx::PictureFile> file;
        double lastUse = 0.0;
    };
    std::map<std::string, Reading> read_;
    std::set<std::string> reported_;
};

GfxLayerImageServer_& DllGfxLayerImageServerInstance();

}  // namespace Pym
