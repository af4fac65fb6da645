#include "Keys/KeyCodeTable.h"
#include "Keys/KeyLayout.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <set>

using namespace quorvane;

namespace {

// The US ANSI positions as the keyboard's own chart gives them: name virtual:x11.
const char *const chart = R"(
A 0:38  S 1:39  D 2:40  F 3:41  H 4:43  G 5:42  Z 6:52  X 7:53  C 8:54  V 9:55
B 11:56 Q 12:24 W 13:25 E 14:26 R 15:27 Y 16:29 T 17:28 O 31:32 U 32:30 I 34:31
P 35:33 L 37:46 J 38:44 K 40:45 N 45:57 M 46:58
1 18:10 2 19:11 3 20:12 4 21:13 5 23:14 6 22:15 7 26:16 8 28:17 9 25:18 0 29:19
= 24:21 - 27:20 ] 30:35 [ 33:34 ' 39:48 ; 41:47 \ 42:51 , 43:59 / 44:61 . 47:60
` 50:49 § 10:94
Return 36:36 Tab 48:23 Space 49:65 Delete 51:22 Escape 53:9 ForwardDelete 117:119
Help 114:118 Home 115:110 End 119:115 PageUp 116:112 PageDown 121:117
Left 123:113 Right 124:114 Down 125:116 Up 126:111
F1 122:67 F2 120:68 F3 99:69 F4 118:70 F5 96:71 F6 97:72 F7 98:73 F8 100:74
F9 101:75 F10 109:76 F11 103:95 F12 111:96 F13 105:191 F14 107:192 F15 113:193
KP0 82:90 KP1 83:87 KP2 84:88 KP3 85:89 KP4 86:83 KP5 87:84 KP6 88:85 KP7 89:79 KP8 91:80
KP9 92:81 KP. 65:91 KP* 67:63 KP+ 69:86 KP/ 75:106 KPEnter 76:104 KP- 78:82 KP= 81:125
)";

} // namespace

TEST(KeyCodeTable, EveryChartedKeyMapsBothWaysAndNothingElseIsThere)
{
    static const QRegularExpression entry(QStringLiteral(R"((\S+) (\d+):(\d+))"));
    int rows = 0;
    for (auto it = entry.globalMatch(QString::fromUtf8(chart)); it.hasNext(); ++rows) {
        const auto match = it.next();
        const std::uint32_t virtualKey = match.captured(2).toUInt();
        const std::uint32_t x11 = match.captured(3).toUInt();
        EXPECT_EQ(keycodes::x11KeyCode(virtualKey), std::optional<std::uint8_t>(x11)) << match.captured(1).toStdString();
        EXPECT_EQ(keycodes::virtualKeyCode(x11), std::optional<std::uint32_t>(virtualKey)) << match.captured(1).toStdString();
    }
    EXPECT_EQ(rows, 95);
    EXPECT_EQ(keycodes::all().size(), 95u);

    std::set<std::uint32_t> virtualKeys, x11Keys;
    for (const keycodes::Key &key : keycodes::all()) {
        virtualKeys.insert(key.virtualKey);
        x11Keys.insert(key.x11);
    }
    EXPECT_EQ(virtualKeys.size(), 95u);
    EXPECT_EQ(x11Keys.size(), 95u);
    EXPECT_FALSE(keycodes::x11KeyCode(102)); // no key of the ANSI board
    EXPECT_FALSE(keycodes::x11KeyCode(200));
    EXPECT_FALSE(keycodes::virtualKeyCode(8)); // below the first X11 keycode
    EXPECT_FALSE(keycodes::virtualKeyCode(255));
}

TEST(KeyCodeTable, UsLayoutTypesTheUnshiftedCharacter)
{
    const UsKeyLayout us;
    EXPECT_EQ(us.characters(0), QStringLiteral("a"));
    EXPECT_EQ(us.characters(29), QStringLiteral("0"));
    EXPECT_EQ(us.characters(42), QStringLiteral("\\"));
    EXPECT_EQ(us.characters(50), QStringLiteral("`"));
    EXPECT_EQ(us.characters(10), QStringLiteral("§"));
    EXPECT_EQ(us.characters(67), QStringLiteral("*")); // keypad
    EXPECT_FALSE(us.characters(36));                   // Return types no text
    EXPECT_FALSE(us.characters(105));                  // F13
    EXPECT_FALSE(us.characters(76));                   // keypad Enter
    EXPECT_FALSE(us.characters(200));
}
