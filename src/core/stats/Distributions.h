// The distributions behind the program's intervals and tests, taken from Boost.Math. Every
// function answers NaN for arguments outside its domain (a degree of freedom of 0, a
// probability outside 0..1) instead of throwing; the callers refuse such cases before they ask.
#pragma once

namespace fendrel::distribution {

// Student's t with `df` degrees of freedom (df need not be whole).
double studentQuantile(double p, double df); // the t with P(T <= t) = p
double studentUpper(double t, double df);    // P(T > t)

// Chi-squared.
double chiSquaredQuantile(double p, double df);

// Fisher's F with (d1, d2) degrees of freedom.
double fQuantile(double p, double d1, double d2);
double fLower(double f, double d1, double d2); // P(F <= f)
double fUpper(double f, double d1, double d2); // P(F > f)

// Noncentral t with `df` degrees of freedom and noncentrality `delta`.
double noncentralTLower(double t, double df, double delta); // P(T <= t)
double noncentralTUpper(double t, double df, double delta); // P(T > t)

// Gamma(a) / Gamma(b), without overflow for large arguments.
double gammaRatio(double a, double b);

} // namespace fendrel::distribution
