#include "loop/numerics/SmallMatrix.h"

#include <cmath>

namespace owlet::loop {

Matrix Identity(int n) {
    Matrix m(n);
    for (int i = 0; i < n; ++i)
        m(i, i) = 1.0;
    return m;
}

Matrix operator*(const Matrix& x, const Matrix& y) {
    Matrix r(x.n);
    for (int i = 0; i < x.n; ++i)
        for (int k = 0; k < x.n; ++k) {
            const double xik = x(i, k);
            for (int j = 0; j < x.n; ++j)
                r(i, j) += xik * y(k, j);
        }
    return r;
}

Vector operator*(const Matrix& x, const Vector& y) {
    Vector r(x.n);
    for (int i = 0; i < x.n; ++i)
        for (int j = 0; j < x.n; ++j)
            r[i] += x(i, j) * y[j];
    return r;
}

double Dot(const Vector& x, const Vector& y) {
    double sum = 0.0;
    for (int i = 0; i < x.n; ++i)
        sum += x[i] * y[i];
    return sum;
}

namespace {

template <typename T> bool solveInPlace(BasicMatrix<T>& m, BasicVector<T>& rhs) {
    const int n = m.n;
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::abs(m(r, col)) > std::abs(m(pivot, col)))
                pivot = r;
        if (!(std::abs(m(pivot, col)) > 0.0))
            return false;
        if (pivot != col) {
            for (int c = 0; c < n; ++c)
                std::swap(m(col, c), m(pivot, c));
            std::swap(rhs[col], rhs[pivot]);
        }
        for (int r = col + 1; r < n; ++r) {
            const T f = m(r, col) / m(col, col);
            for (int c = col; c < n; ++c)
                m(r, c) -= f * m(col, c);
            rhs[r] -= f * rhs[col];
        }
    }
    for (int r = n - 1; r >= 0; --r) {
        T sum = rhs[r];
        for (int c = r + 1; c < n; ++c)
            sum -= m(r, c) * rhs[c];
        rhs[r] = sum / m(r, r);
    }
    for (int r = 0; r < n; ++r)
        if (!std::isfinite(std::abs(rhs[r])))
            return false;
    return true;
}

} // namespace

bool Solve(Matrix m, Vector& rhs) {
    return solveInPlace(m, rhs);
}

bool Solve(ComplexMatrix m, ComplexVector& rhs) {
    return solveInPlace(m, rhs);
}

bool Invert(const Matrix& m, Matrix& inverse) {
    inverse = Matrix(m.n);
    for (int c = 0; c < m.n; ++c) {
        Vector column(m.n);
        column[c] = 1.0;
        if (!Solve(m, column))
            return false;
        for (int r = 0; r < m.n; ++r)
            inverse(r, c) = column[r];
    }
    return true;
}

Matrix Exponential(const Matrix& m) {
    const int n = m.n;
    double norm = 0.0; // the largest row sum
    for (int i = 0; i < n; ++i) {
        double row = 0.0;
        for (int j = 0; j < n; ++j)
            row += std::abs(m(i, j));
        norm = std::max(norm, row);
    }
    int squarings = 0;
    if (norm > 0.5)
        squarings = std::min(1000, static_cast<int>(std::ceil(std::log2(norm / 0.5))));
    Matrix x = m;
    const double scale = std::ldexp(1.0, -squarings);
    for (double& e : x.a)
        e *= scale;
    // [6/6] Padé coefficients c_k = (12-k)! 6! / (12! k! (6-k)!)
    constexpr double c[7] = {1.0,         0.5,           5.0 / 44.0,    1.0 / 66.0,
                             1.0 / 792.0, 1.0 / 15840.0, 1.0 / 665280.0};
    Matrix power = Identity(n);
    Matrix numerator = Identity(n);
    Matrix denominator = Identity(n);
    for (int k = 1; k <= 6; ++k) {
        power = power * x;
        const double sign = (k % 2) ? -1.0 : 1.0;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                numerator(i, j) += c[k] * power(i, j);
                denominator(i, j) += sign * c[k] * power(i, j);
            }
    }
    Matrix inverse;
    if (!Invert(denominator, inverse))
        return Identity(n); // cannot happen for the scaled norm; never a NaN
    Matrix result = inverse * numerator;
    for (int s = 0; s < squarings; ++s)
        result = result * result;
    return result;
}

SymmetricEigen JacobiEigen(Matrix s) {
    const int n = s.n;
    Matrix q = Identity(n);
    for (int sweep = 0; sweep < 64; ++sweep) {
        double off = 0.0, all = 0.0;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                all += s(i, j) * s(i, j);
                if (i != j)
                    off += s(i, j) * s(i, j);
            }
        if (off <= 1e-32 * all)
            break;
        for (int p = 0; p < n; ++p)
            for (int r = p + 1; r < n; ++r) {
                if (s(p, r) == 0.0)
                    continue;
                const double theta = (s(r, r) - s(p, p)) / (2.0 * s(p, r));
                const double t =
                    (theta >= 0 ? 1.0 : -1.0) / (std::abs(theta) + std::sqrt(theta * theta + 1.0));
                const double cs = 1.0 / std::sqrt(t * t + 1.0);
                const double sn = t * cs;
                for (int k = 0; k < n; ++k) { // columns p, r
                    const double kp = s(k, p), kr = s(k, r);
                    s(k, p) = cs * kp - sn * kr;
                    s(k, r) = sn * kp + cs * kr;
                }
                for (int k = 0; k < n; ++k) { // rows p, r
                    const double pk = s(p, k), rk = s(r, k);
                    s(p, k) = cs * pk - sn * rk;
                    s(r, k) = sn * pk + cs * rk;
                }
                for (int k = 0; k < n; ++k) {
                    const double kp = q(k, p), kr = q(k, r);
                    q(k, p) = cs * kp - sn * kr;
                    q(k, r) = sn * kp + cs * kr;
                }
            }
    }
    SymmetricEigen e;
    e.values = Vector(n);
    for (int i = 0; i < n; ++i)
        e.values[i] = s(i, i);
    e.vectors = q;
    return e;
}

double Phi1(double z) {
    if (std::abs(z) < 1e-5)
        return 1.0 + z / 2.0 + z * z / 6.0;
    return std::expm1(z) / z;
}

double Phi2(double z) {
    if (std::abs(z) < 0.1) {
        // 1/2 + z/6 + z^2/24 + ...: eleven terms leave no digit behind for |z| < 0.1
        double term = 0.5, sum = 0.5;
        for (int k = 3; k < 14; ++k) {
            term *= z / k;
            sum += term;
        }
        return sum;
    }
    return (std::expm1(z) - z) / (z * z);
}

} // namespace owlet::loop
