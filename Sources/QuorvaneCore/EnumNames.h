#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <optional>
#include <string_view>
#include <type_traits>

namespace quorvane {

// Every enumeration stored in the document as a string specialises EnumNames with its raw
// strings in case order. The raw string of a case equals its name.
template <typename E>
struct EnumNames;

template <typename E>
concept NamedEnum = std::is_enum_v<E> && requires
{
    EnumNames<E>::names;
};

template <NamedEnum E>
constexpr auto allCases()
{
    constexpr auto &names = EnumNames<E>::names;
    std::array<E, std::size(names)> cases{};
    for (std::size_t i = 0; i < cases.size(); ++i)
        cases[i] = static_cast<E>(i);
    return cases;
}

template <NamedEnum E>
QString toString(E value)
{
    const auto &names = EnumNames<E>::names;
    const auto index = static_cast<std::size_t>(value);
    if (index >= std::size(names))
        return {};
    return QString::fromLatin1(names[index]);
}

// Exact comparison, case included: "ClearGlass" is no case of a type that has "clearGlass".
template <NamedEnum E>
std::optional<E> fromString(QStringView raw)
{
    const auto &names = EnumNames<E>::names;
    for (std::size_t i = 0; i < std::size(names); ++i) {
        if (raw == QLatin1StringView(names[i]))
            return static_cast<E>(i);
    }
    return std::nullopt;
}

} // namespace quorvane
