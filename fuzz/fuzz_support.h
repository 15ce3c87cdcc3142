#pragma once
// What the harnesses share: the input as Qt bytes, and a property check that stops the run.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>

inline QByteArray fuzzBytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A broken property is a finding like a crash: libFuzzer keeps the input and fails the run.
inline void require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    __builtin_trap();
}
