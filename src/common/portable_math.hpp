#pragma once

// The elementary functions of the point-mass engine, computed the same way to the last bit on
// every platform the program is built for. The C libraries' versions (glibc on the desktop,
// musl in the WebAssembly build) differ in the last bit now and then, which the range card's
// full-precision output would show. These use only the basic operations, which IEEE 754 rounds
// the same everywhere: the classic fdlibm algorithms (Sun Microsystems, freely redistributable),
// accurate to about one unit in the last place; pow to a few units (exp of y·log x).
namespace siacci::pm {

double sin(double x);
double cos(double x);
double tan(double x);
double atan(double x);
double atan2(double y, double x);
double exp(double x);
double log(double x);
double pow(double x, double y);   // x > 0, or x < 0 with a whole y
double cbrt(double x);
double hypot(double x, double y);

} // namespace siacci::pm
