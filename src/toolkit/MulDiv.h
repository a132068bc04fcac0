// a * b / c without overflow, rounded to the nearest integer with halves away
// from zero, as the system's MulDiv rounds.
#pragma once

inline int MulDiv(int number, int numerator, int denominator)
{
    long long product = static_cast<long long>(number) * numerator;
    long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
