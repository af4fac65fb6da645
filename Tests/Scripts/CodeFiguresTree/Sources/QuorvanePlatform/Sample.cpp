#include "Sample.h"

namespace quorvane {
namespace {
int calls = 0;
const int maximum = 4;
constexpr const char *text = "a;{";
int twice(int x);
template <typename F>
void run(F f) { f(); }
} // namespace

int Sample::instances = 0;

Sample::Sample(int a)
    : m_value{a}
{
    static const QString greeting = QStringLiteral("hi");
    static int made = 0;
    ++made;
    run([] {
        static bool once = false;
        once = true;
    });
}

QString &lastName()
{
    static QString last;
    return last;
}

} // namespace quorvane
