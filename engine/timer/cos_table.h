#pragma once
// A 256-step cosine table: Cos256(i) is cos(2 pi i / 256) for the low 8 bits of i.

#include <cstdint>

double Cos256(int64_t i);
