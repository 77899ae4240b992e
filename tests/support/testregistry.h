#pragma once
// Several Qt Test classes share one executable per folder: each test file registers its class here.

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace qxtest {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& registry();

struct Registrar {
    explicit Registrar(TestFactory factory) { registry().push_back(std::move(factory)); }
};

}  // namespace qxtest

#define QX_REGISTER_TEST(Class) \
    static const qxtest::Registrar qxRegistrar##Class([] { return std::make_unique<Class>(); });
