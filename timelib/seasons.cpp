#include "timelib/seasons.h"

#include <cmath>

#include "timelib/civil.h"

namespace quendel {
namespace {

constexpr double kPi = 3.14159265358979323846;
double CosDegrees(double degrees) { return std::cos(degrees * kPi / 180.0); }

// Mean instants (Julian ephemeris days) as polynomials in millennia: for the years -1000 to
// 1000 from year 0, for 1000 to 3000 from 2000 (Meeus, tables 27.A and 27.B).
constexpr double kMeanBefore1000[4][5] = {{1721139.29189, 365242.13740, 0.06134, 0.00111, -0.00071},
                                          {1721233.25401, 365241.72562, -0.05323, 0.00907, 0.00025},
                                          {1721325.70455, 365242.49558, -0.11677, -0.00297, 0.00074},
                                          {1721414.39987, 365242.88257, -0.00769, -0.00933, -0.00006}};
constexpr double kMeanFrom1000[4][5] = {{2451623.80984, 365242.37404, 0.05169, -0.00411, -0.00057},
                                        {2451716.56767, 365241.62603, 0.00325, 0.00888, -0.00030},
                                        {2451810.21715, 365242.01767, -0.11575, 0.00337, 0.00078},
                                        {2451900.05952, 365242.74049, -0.06223, -0.00823, 0.00032}};

// The periodic terms: amplitude, phase (degrees), rate (degrees per Julian century) (table 27.C).
constexpr double kTerms[24][3] = {
    {485, 324.96, 1934.136},  {203, 337.23, 32964.467}, {199, 342.08, 20.186},    {182, 27.85, 445267.112},
    {156, 73.14, 45036.886},  {136, 171.52, 22518.443}, {77, 222.54, 65928.934},  {74, 296.72, 3034.906},
    {70, 243.58, 9037.513},   {58, 119.81, 33718.147},  {52, 297.17, 150.678},    {50, 21.02, 2281.226},
    {45, 247.54, 29929.562},  {44, 325.15, 31555.956},  {29, 60.93, 4443.417},    {18, 155.12, 67555.328},
    {17, 288.79, 4562.452},   {16, 198.04, 62894.029},  {14, 199.76, 31436.921},  {12, 95.39, 14577.848},
    {12, 287.11, 31931.756},  {12, 320.81, 34777.259},  {9, 227.73, 1222.114},    {8, 15.45, 16859.074}};

// Dynamical minus universal time in seconds (Espenak and Meeus): polynomials where the
// record is measured, the long-term parabola elsewhere.
double DeltaT(double year) {
    if (year >= 1986 && year < 2005) {
        const double t = year - 2000;
        return 63.86 + t * (0.3345 + t * (-0.060374 + t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
    }
    if (year >= 2005 && year < 2050) {
        const double t = year - 2000;
        return 62.92 + t * (0.32217 + t * 0.005589);
    }
    const double u = (year - 1820) / 100;
    if (year >= 2050 && year < 2150) return -20 + 32 * u * u - 0.5628 * (2150 - year);
    return -20 + 32 * u * u;
}

}  // namespace

C_Time SeasonStart(int year, Season season) {
    if (year < civil::kMinYear || year > civil::kMaxYear) return C_Time();
    const int which = static_cast<int>(season);
    const double* mean = year < 1000 ? kMeanBefore1000[which] : kMeanFrom1000[which];
    const double y = (year < 1000 ? year : year - 2000) / 1000.0;
    const double jde0 = mean[0] + y * (mean[1] + y * (mean[2] + y * (mean[3] + y * mean[4])));
    const double t = (jde0 - 2451545.0) / 36525;
    const double w = 35999.373 * t - 2.47;
    const double dl = 1 + 0.0334 * CosDegrees(w) + 0.0007 * CosDegrees(2 * w);
    double s = 0;
    for (const auto& term : kTerms) s += term[0] * CosDegrees(term[1] + term[2] * t);
    const double jde = jde0 + 0.00001 * s / dl;
    // Julian day 2305813.5 is 1601-01-01 00:00; whole seconds of universal time from there.
    const double seconds = (jde - 2305813.5) * 86400.0 - DeltaT(year + (which * 3 + 2.5) / 12.0);
    return C_Time(static_cast<unsigned __int64>(std::llround(seconds)) * civil::kTicksPerSecond);
}

}  // namespace quendel
