// What the handlers may do with the window: read and set the text box, and
// show a message. The window in ui/ provides them; tests provide fakes.
#pragma once

#include <string>
#include <string_view>

namespace pp {

class WindowOperations {
public:
    virtual ~WindowOperations() = default;

    // The whole text of the text box Text1, UTF-8, possibly empty.
    virtual std::string ReadText() = 0;
    // Replaces the whole text of Text1.
    virtual void SetText(std::string_view text) = 0;
    // Shows `text` in a modal message box and returns once it is dismissed.
    virtual void ShowMessage(std::string_view text) = 0;

protected:
    WindowOperations() = default;
    WindowOperations(const WindowOperations&) = default;
    WindowOperations& operator=(const WindowOperations&) = default;
};

} // namespace pp
