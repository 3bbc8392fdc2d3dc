#pragma once
// Many test classes in one program, linked once: each class registers
// under the name ctest runs it by, and main runs the class named first on
// the command line, giving QTest the rest ("kel_tests_ui test_reach -v2").
// As under QTEST_MAIN, a class's static initMain() runs before the
// application is made. A test that starts this program as a child of its
// own registers the child's first argument ("--read-and-quit DIR TEXT").

#include <QTest>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace kel::test {

struct TestClass {
    std::function<void()> initMain;
    std::function<std::unique_ptr<QObject>()> make;
};
using ChildMain = std::function<int(int, char **)>;

inline std::map<std::string, TestClass> &testClasses()
{
    static std::map<std::string, TestClass> classes;
    return classes;
}
inline std::map<std::string, ChildMain> &childMains()
{
    static std::map<std::string, ChildMain> mains;
    return mains;
}

} // namespace kel::test

#define KEL_TEST_CAT2(a, b) a##b
#define KEL_TEST_CAT(a, b) KEL_TEST_CAT2(a, b)
#define KEL_TEST(name, Class)                                                                            \
    static const bool KEL_TEST_CAT(kelTest, __LINE__) =                                                  \
        kel::test::testClasses()                                                                         \
            .emplace(#name, kel::test::TestClass{[] { QTest::Internal::callInitMain<Class>(); },         \
                                                 [] { return std::unique_ptr<QObject>(new Class); }})    \
            .second;
#define KEL_TEST_CHILD(flag, function) \
    static const bool KEL_TEST_CAT(kelChild, __LINE__) = kel::test::childMains().emplace(flag, function).second;
