#include "pym/gui/DownloadCache.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <cctype>

namespace Pym {

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char lower, char c) {
               return std::tolower(static_cast<unsigned char>(c)) == lower;
           });
}

// Letters, digits, '-' and '.' stay; every other byte becomes '_' and two hex digits ('_'
// itself included), so the escaping can be undone and distinct addresses stay distinct.
std::string Escape(const std::string& text) {
    static const char* hex = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.') {
            escaped += static_cast<char>(c);
        } else {
            escaped += '_';
            escaped += hex[c >> 4];
            escaped += hex[c & 0xF];
        }
    }
    return escaped;
}

// The picture type named at the end of the address's path, so the loader can tell an SVG
// file by its name; empty when there is none.
std::string PictureExtension(const std::string& address) {
    std::string path = address.substr(0, address.find_first_of("?#"));
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(), ::tolower);
    static const std::array<const char*, 8> known = {".png", ".jpg", ".jpeg", ".gif",
                                                     ".bmp", ".tga", ".svg",  ".svgz"};
    for (const char* candidate : known)
        if (extension == candidate) return extension;
    return {};
}

std::string Sha256(const std::string& text) {
    gchar* digest = g_compute_checksum_for_string(G_CHECKSUM_SHA256, text.c_str(),
                                                  static_cast<gssize>(text.size()));
    std::string result(digest);
    g_free(digest);
    return result;
}

}  // namespace

bool DownloadCache::IsWebAddress(const std::string& address) {
    return StartsWithNoCase(address, "http://") || StartsWithNoCase(address, "https://");
}

std::string DownloadCache::FileName(const std::string& address) {
    // Starts with a letter, so it is never "." or ".." and never hidden.
    std::string name = "web_" + Escape(address);
    if (name.size() <= kMaxNameLength) return name;
    // '~' never comes out of Escape, so a shortened name cannot equal a whole one.
    const std::string extension = PictureExtension(address);
    const std::string digest = Sha256(address);
    const std::size_t keep = kMaxNameLength - 1 - digest.size() - extension.size();
    return name.substr(0, keep) + "~" + digest + extension;
}

std::string DownloadCache::Join(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::string DownloadCache::LocalPath(const std::string& folder, const std::string& address) {
    return Join(folder, FileName(address));
}

}  // namespace Pym
