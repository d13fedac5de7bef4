// Global options of an interface name: the host configuration of that name ("natlinkon"),
// read by section and key.
#pragma once

#include "libs/KvorCore/loader/com_string.h"
#include "libs/KvorCore/loader/com_variant.h"

#include <memory>

namespace hostsvc {
class HostConfig;
}

class globalOptionsC {
public:
    // No configuration: every option gives its default.
    globalOptionsC() = default;
    explicit globalOptionsC(std::shared_ptr<const hostsvc::HostConfig> config)
        : config_(std::move(config)) {}

    bool isValid() const { return config_ != nullptr; }

    // The option's text as a string variant, or def (by default an empty variant) when the
    // configuration has no such option.
    mzComVariantC getOption(const mzComStringC& section, const mzComStringC& key,
                            const mzComVariantC& def = mzComVariantC()) const;

private:
    std::shared_ptr<const hostsvc::HostConfig> config_;
};

// The host configuration of the interface name. A name the host cannot take as a
// configuration (not a plain file name) gives options without a configuration, and logs why.
globalOptionsC getGlobalOptions(const mzComStringC& interfaceName);
