#include "ballistics/pointmass/dense_step.hpp"

#include <algorithm>
#include <cmath>

namespace siacci::pointmass {

Dense makeDense(double absolute, double relative)
{
    return Dense(Controlled(ErrorChecker(absolute, relative), PortableStepAdjuster(), Stepper()));
}

namespace {

using Powers = std::array<double, 5>; // the coefficients of u, u^2, ..., u^5

// Hairer's continuous extension of the Dormand-Prince step, as odeint's dopri5 writes it:
// b_i(u) = A b_i +- C X_i(u) (plus D for the first stage, B instead of A b for the last), with
// A = u^2 (3 - 2u), B = u^2 (u - 1), C = u^2 (u - 1)^2, D = u (u - 1)^2 and X_i(u) = alpha - beta u.
constexpr Powers weights(double b, double sign, double alpha, double beta)
{
    return {0, 3 * b + sign * alpha, -2 * b - sign * (2 * alpha + beta), sign * (alpha + 2 * beta),
            -sign * beta};
}

constexpr Powers plus(Powers w, const Powers& extra)
{
    for (std::size_t p = 0; p < w.size(); ++p)
        w[p] += extra[p];
    return w;
}

constexpr Powers kD{1, -2, 1, 0, 0};
constexpr Powers kB{0, -1, 1, 0, 0};

// The weights of the stages 1, 3, 4, 5, 6 and 7.
constexpr std::array<Powers, 6> kWeights{
    plus(weights(35.0 / 384, -1, 5.0 * 2558722523 / 11282082432, 5.0 * 31403016 / 11282082432),
         kD),
    weights(500.0 / 1113, 1, 100.0 * 882725551 / 32700410799, 100.0 * 15701508 / 32700410799),
    weights(125.0 / 192, -1, 25.0 * 443332067 / 1880347072, 25.0 * 31403016 / 1880347072),
    weights(-2187.0 / 6784, 1, 32805.0 * 23143187 / 199316789632, 32805.0 * 3489224 / 199316789632),
    weights(11.0 / 84, -1, 55.0 * 29972135 / 822651844, 55.0 * 7076736 / 822651844),
    plus(weights(0, 1, 10.0 * 7414447 / 29380423, 10.0 * 829305 / 29380423), kB),
};

} // namespace

State StepInterpolant::at(double t) const
{
    // Operation for operation as odeint's dopri5 calc_state, so that every bit is the same.
    constexpr double b1 = 35.0 / 384, b3 = 500.0 / 1113, b4 = 125.0 / 192, b5 = -2187.0 / 6784,
                     b6 = 11.0 / 84;
    const double dt = m_t1 - m_t0;
    const double theta = (t - m_t0) / dt;
    const double X1 = 5.0 * (2558722523.0 - 31403016.0 * theta) / 11282082432.0;
    const double X3 = 100.0 * (882725551.0 - 15701508.0 * theta) / 32700410799.0;
    const double X4 = 25.0 * (443332067.0 - 31403016.0 * theta) / 1880347072.0;
    const double X5 = 32805.0 * (23143187.0 - 3489224.0 * theta) / 199316789632.0;
    const double X6 = 55.0 * (29972135.0 - 7076736.0 * theta) / 822651844.0;
    const double X7 = 10.0 * (7414447.0 - 829305.0 * theta) / 29380423.0;
    const double theta_m_1 = theta - 1.0;
    const double theta_sq = theta * theta;
    const double A = theta_sq * (3.0 - 2.0 * theta);
    const double B = theta_sq * theta_m_1;
    const double C = theta_sq * theta_m_1 * theta_m_1;
    const double D = theta * theta_m_1 * theta_m_1;
    const double w1 = dt * (A * b1 - C * X1 + D), w3 = dt * (A * b3 + C * X3),
                 w4 = dt * (A * b4 - C * X4), w5 = dt * (A * b5 + C * X5),
                 w6 = dt * (A * b6 - C * X6), w7 = dt * (B + C * X7);
    const State &x0 = *m_x0, &k1 = *m_k[0], &k3 = *m_k[1], &k4 = *m_k[2], &k5 = *m_k[3],
                &k6 = *m_k[4], &k7 = *m_k[5];
    State x;
    for (std::size_t i = 0; i < 6; ++i)
        x[i] = x0[i] + w1 * k1[i] + w3 * k3[i] + w4 * k4[i] + w5 * k5[i] + w6 * k6[i] +
               w7 * k7[i];
    return x;
}

void StepInterpolant::expand(const SightFrame& frame)
{
    for (std::size_t p = 0; p < 5; ++p) {
        for (std::size_t i = 0; i < 6; ++i) {
            double sum = 0;
            for (std::size_t stage = 0; stage < 6; ++stage)
                sum += kWeights[stage][p] * (*m_k[stage])[i];
            m_c[p][i] = (m_t1 - m_t0) * sum;
        }
        m_distance[p] = m_c[p][0] * frame.along_x + m_c[p][1] * frame.along_y;
    }
    m_distance0 = (*m_x0)[0] * frame.along_x + (*m_x0)[1] * frame.along_y;
}

std::optional<FlightPoint> StepInterpolant::atDistance(double target, double guess,
                                                       double settled_m) const
{
    const auto& d = m_distance;
    double u = guess;
    for (int i = 0; i < 12; ++i) {
        const double value =
            m_distance0 + u * (d[0] + u * (d[1] + u * (d[2] + u * (d[3] + u * d[4])))) - target;
        const double rate = d[0] + u * (2 * d[1] + u * (3 * d[2] + u * (4 * d[3] + u * 5 * d[4])));
        if (!(rate > 0))
            return std::nullopt;
        const double step = value / rate;
        // A distance at an end of the step may be found a rounding outside it.
        u = std::clamp(u - step, 0.0, 1.0);
        // Newton converges quadratically: after a step of s, about s^2 (times the distance's
        // curvature over its rate, under 1 in a step) is left, and that is far below the row's
        // tolerance.
        if (step * step * rate <= 1e-3 * settled_m) {
            FlightPoint p;
            p.time_s = m_t0 + (m_t1 - m_t0) * u;
            for (std::size_t k = 0; k < 6; ++k)
                p.state[k] = (*m_x0)[k] +
                             u * (m_c[0][k] +
                                  u * (m_c[1][k] + u * (m_c[2][k] + u * (m_c[3][k] + u * m_c[4][k]))));
            return p;
        }
    }
    return std::nullopt;
}

} // namespace siacci::pointmass
