// Implementation of FixedText's conversions; included by Records.h.
#include "platform/Cp1252.h"

template <int N>
void FixedText<N>::set(const QString& text)
{
    setBytes(dorv::EncodeCp1252(text.left(N)));
}

template <int N>
QString FixedText<N>::str() const
{
    return dorv::DecodeCp1252(bytes.data(), N);
}

template <int N>
QString FixedText<N>::trimmed() const
{
    int n = N;
    while (n > 0 && bytes[n - 1] == ' ') --n;
    return dorv::DecodeCp1252(bytes.data(), n);
}
