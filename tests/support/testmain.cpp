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
    // "tst_x ClassName [Qt Test options]" runs one class only.
    QString only;
    std::vector<char*> args(argv, argv + argc);
    if (argc > 1 && argv[1][0] != '-') {
        only = QString::fromLocal8Bit(argv[1]);
        args.erase(args.begin() + 1);
    }
    int failures = 0;
    for (const auto& make : qxtest::registry()) {
        std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && only != QLatin1String(test->metaObject()->className())) continue;
        failures += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failures == 0 ? 0 : 1;
}
