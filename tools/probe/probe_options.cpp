#include "tools/probe/probe_options.h"

#include <string_view>

namespace probetool {

namespace {

std::string* ValueSlot(std::string_view name, ProbeOptions& options) {
    if (name == "--root")
        return &options.root;
    if (name == "--card")
        return &options.card;
    if (name == "--registry")
        return &options.registry;
    if (name == "--store")
        return &options.store;
    return nullptr;
}

// Consumes the option at args[i] (and its value when separate); false with `problem` set.
bool TakeOption(std::span<const std::string> args, std::size_t& i, ProbeOptions& options,
                std::string& problem) {
    const std::string& word = args[i];
    if (word == "--help") {
        options.help = true;
        return true;
    }
    const std::size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    std::string* slot = ValueSlot(name, options);
    if (!slot) {
        problem = "unknown option " + name;
        return false;
    }
    std::string value;
    if (equals != std::string::npos) {
        value = word.substr(equals + 1);
    } else if (i + 1 < args.size()) {
        value = args[++i];
    }
    if (value.empty()) {
        problem = name + " needs a value";
        return false;
    }
    if (!slot->empty()) {
        problem = name + " given twice";
        return false;
    }
    *slot = value;
    return true;
}

}  // namespace

bool ParseProbeOptions(std::span<const std::string> args, ProbeOptions& options,
                       std::string& problem) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && word.starts_with("--")) {
            if (!TakeOption(args, i, options, problem))
                return false;
        } else if (word.empty()) {
            problem = "an empty FILE";
            return false;
        } else {
            options.files.push_back(word);
        }
    }
    if (options.help)
        return true;
    if (options.files.empty()) {
        problem = "no FILE";
        return false;
    }
    return true;
}

}  // namespace probetool
