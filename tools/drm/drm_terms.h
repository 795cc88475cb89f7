// The words after a pack command: its file names, the permission and constraints of the rights
// it makes, and the separate-delivery extras.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/rights/rel/rights_object.h"

namespace drmtool {

enum class PackKind { ForwardLock, Combined, Separate };

struct PackTerms {
    std::optional<platform::rights::Permission> permission;  // none: from the content type
    platform::rights::Constraint constraint;
    std::string rightsIssuer;  // separate delivery only
    bool wbxml = false;        // separate delivery only
};

struct PackWords {
    std::vector<std::string> files;  // the words that are not options, in order
    PackTerms terms;
};

// Options may come before, between or after the file names, as "--name value" or
// "--name=value". Nullopt with `error` set for an unknown or repeated option, an option the
// command does not take, a missing or malformed value, or constraints that can never hold.
std::optional<PackWords> ParsePackWords(std::span<const std::string> words, PackKind kind,
                                        std::string& error);

// The media type for a file name's extension (compared without case);
// application/octet-stream for anything else.
std::string ContentTypeForName(const std::string& path);

// display for images, play for everything else.
platform::rights::Permission DefaultPermission(const std::string& contentType);

}  // namespace drmtool
