#include "Distributions.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/non_central_t.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <boost/math/special_functions/gamma.hpp>

#include <limits>

namespace fendrel::distribution {

namespace {

namespace bp = boost::math::policies;
// Errors become NaN (or infinity) values; nothing is thrown.
using Quiet =
    bp::policy<bp::domain_error<bp::ignore_error>, bp::pole_error<bp::ignore_error>,
               bp::overflow_error<bp::ignore_error>, bp::evaluation_error<bp::ignore_error>,
               bp::rounding_error<bp::ignore_error>,
               bp::indeterminate_result_error<bp::ignore_error>>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool probability(double p) {
    return p >= 0 && p <= 1;
}
bool positive(double df) {
    return df > 0 && df < std::numeric_limits<double>::infinity();
}

} // namespace

double studentQuantile(double p, double df) {
    if (!probability(p) || !positive(df))
        return kNaN;
    return boost::math::quantile(boost::math::students_t_distribution<double, Quiet>(df), p);
}

double studentUpper(double t, double df) {
    if (t != t || !positive(df))
        return kNaN;
    return boost::math::cdf(
        boost::math::complement(boost::math::students_t_distribution<double, Quiet>(df), t));
}

double chiSquaredQuantile(double p, double df) {
    if (!probability(p) || !positive(df))
        return kNaN;
    return boost::math::quantile(boost::math::chi_squared_distribution<double, Quiet>(df), p);
}

double fQuantile(double p, double d1, double d2) {
    if (!probability(p) || !positive(d1) || !positive(d2))
        return kNaN;
    return boost::math::quantile(boost::math::fisher_f_distribution<double, Quiet>(d1, d2), p);
}

double fLower(double f, double d1, double d2) {
    if (!(f >= 0) || !positive(d1) || !positive(d2))
        return kNaN;
    if (f == std::numeric_limits<double>::infinity())
        return 1;
    return boost::math::cdf(boost::math::fisher_f_distribution<double, Quiet>(d1, d2), f);
}

double fUpper(double f, double d1, double d2) {
    if (!(f >= 0) || !positive(d1) || !positive(d2))
        return kNaN;
    if (f == std::numeric_limits<double>::infinity())
        return 0;
    return boost::math::cdf(
        boost::math::complement(boost::math::fisher_f_distribution<double, Quiet>(d1, d2), f));
}

double noncentralTLower(double t, double df, double delta) {
    if (t != t || delta != delta || !positive(df))
        return kNaN;
    return boost::math::cdf(boost::math::non_central_t_distribution<double, Quiet>(df, delta), t);
}

double noncentralTUpper(double t, double df, double delta) {
    if (t != t || delta != delta || !positive(df))
        return kNaN;
    return boost::math::cdf(boost::math::complement(
        boost::math::non_central_t_distribution<double, Quiet>(df, delta), t));
}

double gammaRatio(double a, double b) {
    if (!(a > 0) || !(b > 0))
        return kNaN;
    return boost::math::tgamma_ratio(a, b, Quiet());
}

} // namespace fendrel::distribution
