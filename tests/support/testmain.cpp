#include "tests/support/testregistry.h"

#include "platform/application.h"

#include <QTest>

namespace qxtest {
std::vector<TestFactory>& registry() {
    static std::vector<TestFactory> tests;
    return tests;
}
}  // namespace qxtest

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    platform::Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Quillex"));
    int failures = 0;
    for (const auto& make : qxtest::registry()) {
        std::unique_ptr<QObject> test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
