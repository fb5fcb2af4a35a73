#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace lumetta::fuzz {

// Creates the one QGuiApplication (offscreen) that readers touching fonts or screens need.
void EnsureApplication();

inline QByteArray Bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

}  // namespace lumetta::fuzz
