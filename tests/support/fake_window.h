// A window that records what a handler does with it, in order. A message
// event also notes how many bytes the port had received when it was shown.
#pragma once

#include "core/window_operations.h"
#include "tests/support/recording_port.h"

#include <string>
#include <utility>
#include <vector>

namespace pp::testing {

class FakeWindow final : public WindowOperations {
public:
    FakeWindow(std::string text, const RecordingPort& port) : text(std::move(text)), port_(port) {}

    std::string ReadText() override {
        events.emplace_back("read");
        return text;
    }
    void SetText(std::string_view newText) override {
        events.push_back("set \"" + std::string(newText) + "\"");
        text = newText;
    }
    void ShowMessage(std::string_view message) override {
        events.push_back(MessageEvent(message, port_.writes.size()));
    }

    static std::string MessageEvent(std::string_view message, std::size_t writes) {
        return "message " + std::string(message) + " (" + std::to_string(writes) + " writes)";
    }

    std::string text;
    std::vector<std::string> events;

private:
    const RecordingPort& port_;
};

} // namespace pp::testing
