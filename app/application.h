#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

// What the application object provides the window: its title, its default error
// display, the simple message box, and the boundary where Qt calls our handlers.
namespace application {

// The title of a program at `executable_path`: its file name cut at the first ".",
// the first character kept and the rest in lower case ("Project1.exe" → "Project1").
QString TitleFor(const QString& executable_path);

// This program's title; the caption of both message boxes.
QString Title();

// The default error display: a modal box with the stop icon and an OK button,
// showing the error's message with a full stop appended by the operator's rule, as
// plain text (a server's message is never read as markup).
void ShowException(const std::exception& error);

// The simple message dialog: modal, centred on the screen, one OK button that is the
// default, no icon.
void ShowMessage(const QString& text);

// Calls a handler for Qt. Qt forbids an exception to unwind through its frames, so
// whatever the handler raises ends here, in the default error display.
template <typename Handler>
void CallHandler(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(error);
  } catch (...) {
    ShowException(std::runtime_error("Unknown error"));
  }
}

}  // namespace application
