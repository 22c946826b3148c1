#include "pym/gfx/ImageServer.h"

#include <chrono>

#include "pym/base/Singleton.h"
#include "pym/base/Trace.h"
#include "pym/core/DocMap.h"
#include "pym/gfx/Interpolation.h"

namespace Pym {

GfxLayerImageServer_::GfxLayerImageServer_()
    : GfxLayerImageServer_([start = std::chrono::steady_clock::now()] {
          return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      }) {}

GfxLayerImageServer_::GfxLayerImageServer_(Clock clock) : clock_(std::move(clock)) {}

std::string GfxLayerImageServer_::Resolve(const std::string& path) const {
    std::string resolved = path;
    DllDocMapInstance().ResolveResourcePath(resolved);
    return resolved;
}

std::shared_ptr<Pym::Gfx::PictureFile> GfxLayerImageServer_::Read(const std::string& resolved) {
    const double now = clock_();
    std::erase_if(
        read_, [now](const auto& kept) { return now - kept.second.lastUse > kPruneAfterSeconds; });
    Reading& reading = read_[resolved];
    if (!reading.file) reading.file = Pym::Gfx::PictureFile::Read(resolved);
    reading.lastUse = now;
    if (reading.file) return reading.file;
    read_.erase(resolved);
    return nullptr;
}

Pym::Gfx::ImagePtr GfxLayerImageServer_::Load(const std::string& resolved, int width, int height) {
    std::shared_ptr<Pym::Gfx::PictureFile> file = Read(resolved);
    if (Pym::Gfx::ImagePtr image = file ? file->Render(width, height) : nullptr) return image;
    Unreadable(resolved);
}

void GfxLayerImageServer_::Unreadable(const std::string& resolved) {
    // A hole in the skin is worth one line, not one per repaint.
    if (reported_.insert(resolved).second)
        Report("the picture " + resolved + " cannot be read; it is left out");
    throw Pym::Gfx::Image::InvalidImageException(resolved);
}

void GfxLayerImageServer_::Check(const std::string& path) {
    const std::string resolved = Resolve(path);
    if (!unscaled_.contains(resolved) && !Read(resolved)) Unreadable(resolved);
}

std::shared_ptr<GfxLayerImageServer_::ImageCache> GfxLayerImageServer_::MakeEntry(
    const std::string& resolved, int width, int height, int interpolation) {
    auto entry = std::make_shared<ImageCache>();
    entry->width = width;
    entry->height = height;
    Pym::Gfx::ImagePtr loaded = Load(resolved, width, height);
    // Vector pictures come back rendered at the size; bitmaps are scaled once, here.
    if (loaded->Width() != width || loaded->Height() != height)
        loaded = loaded->Scaled(width, height, Pym::Gfx::CairoFilter(interpolation));
    // A window-sized frame or panel is mostly equal lines: those are kept once.
    entry->image = Pym::Gfx::Image::Compacted(loaded);
    return entry;
}

Pym::Gfx::ImagePtr GfxLayerImageServer_::GetImage(bool exact, const std::string& path, int width,
                                                  int height, int interpolation) {
    std::string resolved = Resolve(path);
    if (width < 1 || height < 1) {
        Pym::Gfx::ImagePtr& slot = unscaled_[resolved];
        if (!slot) {
            try {
                slot = Load(resolved, -1, -1);
            } catch (...) {
                unscaled_.erase(resolved);
                throw;
            }
        }
        return slot;
    }

    double now = clock_();
    std::shared_ptr<ImageCache> used;
    auto found = cache_.find(resolved);
    if (found == cache_.end()) {
        used = MakeEntry(resolved, width, height, Pym::Gfx::InterpolationDefault);
        cache_[resolved].push_back(used);
    } else if (exact) {
        auto& entries = found->second;
        for (auto it = entries.begin(); it != entries.end();) {
            if ((*it)->width == width && (*it)->height == height && !used) {
                used = *it;
                ++it;
            } else if (entries.size() >= 2 &&
                       ((*it)->useCount == 0 || now - (*it)->lastUse > kPruneAfterSeconds)) {
                it = entries.erase(it);
            } else {
                ++it;
            }
        }
        if (!used) {
            used = MakeEntry(resolved, width, height, interpolation);
            entries.push_back(used);
        }
    } else {
        used = found->second.front();
    }
    used->lastUse = now;
    ++used->useCount;
    return used->image;
}

std::size_t GfxLayerImageServer_::EntryCount(const std::string& path) const {
    auto found = cache_.find(Resolve(path));
    return found == cache_.end() ? 0 : found->second.size();
}

GfxLayerImageServer_& DllGfxLayerImageServerInstance() {
    return Singleton<GfxLayerImageServer_>::Instance();
}

}  // namespace Pym
