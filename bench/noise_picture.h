#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>

// An RGB32 picture of opaque noise from a fixed seed, the same for every call; two seeds give two
// pictures no word of which is equal to the other's at the same place.
QImage NoisePicture(QSize size, std::uint32_t seed);
