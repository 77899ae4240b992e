#include "platform/application.h"

#include "platform/errors.h"

#include <cstdio>

namespace platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

Application* Application::instance() { return dynamic_cast<Application*>(QCoreApplication::instance()); }

void Application::setExceptionHandler(ExceptionHandler handler) { handler_ = std::move(handler); }

void Application::handle(QObject* sender, const Error& error) {
    if (handler_) handler_(sender, error);
    else std::fprintf(stderr, "%s\n", error.what());
}

void Application::guarded(QObject* sender, const std::function<void()>& step) {
    try {
        step();
    } catch (const Error& e) {
        handle(sender, e);
    } catch (const std::exception& e) {
        handle(sender, EExternalException(QString::fromLocal8Bit(e.what())));
    }
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    guarded(receiver, [&] { result = QApplication::notify(receiver, event); });
    return result;
}

}  // namespace platform
