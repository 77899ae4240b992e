#pragma once
// The application object: whatever escapes an event handler, a timer or a start-up step is caught
// here and handed to the installed handler; the failed command is abandoned and the program goes on.

#include <QApplication>

#include <functional>

namespace platform {

class Error;

class Application : public QApplication {
public:
    using ExceptionHandler = std::function<void(QObject* sender, const Error& error)>;

    Application(int& argc, char** argv);

    // The handler receives every escaped error; a non-platform exception arrives as
    // EExternalException with its what() text. Without a handler the error is printed to stderr.
    void setExceptionHandler(ExceptionHandler handler);
    static Application* instance();

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs `step` and routes what it throws to the handler (start-up steps, direct calls).
    void guarded(QObject* sender, const std::function<void()>& step);

private:
    void handle(QObject* sender, const Error& error);
    ExceptionHandler handler_;
};

}  // namespace platform
