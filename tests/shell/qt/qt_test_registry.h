#pragma once
// Widget test classes register themselves by name; one executable runs
// the one named on its command line.
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

namespace vx::test {

using QtTestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::map<QString, QtTestFactory>& qtTestRegistry() {
    static std::map<QString, QtTestFactory> registry;
    return registry;
}

template <typename T>
struct RegisterQtTest {
    explicit RegisterQtTest(const char* name) { qtTestRegistry()[name] = [] { return std::make_unique<T>(); }; }
};

}  // namespace vx::test

#define VX_QT_TEST(Class) static const vx::test::RegisterQtTest<Class> registered##Class(#Class)
