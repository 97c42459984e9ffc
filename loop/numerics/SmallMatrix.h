#pragma once

#include <array>
#include <complex>

namespace owlet::loop {

// Dense square matrices and vectors of at most six rows, on the stack: the loop filter has
// at most four capacitors, and the closed loop adds the phase error. No allocation, so the
// time-domain simulation runs in microseconds a cycle.
inline constexpr int MaxOrder = 6;

template <typename T> struct BasicVector {
    int n = 0;
    std::array<T, MaxOrder> v{};

    explicit BasicVector(int size = 0)
        : n(size) {}
    T& operator[](int i) { return v[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return v[static_cast<std::size_t>(i)]; }
};

template <typename T> struct BasicMatrix {
    int n = 0;
    std::array<T, MaxOrder * MaxOrder> a{};

    explicit BasicMatrix(int size = 0)
        : n(size) {}
    T& operator()(int r, int c) { return a[static_cast<std::size_t>(r * MaxOrder + c)]; }
    const T& operator()(int r, int c) const {
        return a[static_cast<std::size_t>(r * MaxOrder + c)];
    }
};

using Vector = BasicVector<double>;
using Matrix = BasicMatrix<double>;
using ComplexVector = BasicVector<std::complex<double>>;
using ComplexMatrix = BasicMatrix<std::complex<double>>;

Matrix Identity(int n);
Matrix operator*(const Matrix& x, const Matrix& y);
Vector operator*(const Matrix& x, const Vector& y);
double Dot(const Vector& x, const Vector& y);

// Gaussian elimination with partial pivoting; false when the matrix is singular.
bool Solve(Matrix m, Vector& rhs);
bool Solve(ComplexMatrix m, ComplexVector& rhs);
bool Invert(const Matrix& m, Matrix& inverse);

// e^m by scaling and squaring of the [6/6] Padé approximant.
Matrix Exponential(const Matrix& m);

// Eigenvalues and orthonormal eigenvectors (columns) of a symmetric matrix, by Jacobi
// rotations: exact to rounding for the small, well-separated networks here.
struct SymmetricEigen {
    Vector values;
    Matrix vectors;
};
SymmetricEigen JacobiEigen(Matrix symmetric);

// (e^z - 1) / z and (e^z - 1 - z) / z^2, without cancellation near 0: the exact solution of
// a first-order section between two detector edges, and of its integral.
double Phi1(double z);
double Phi2(double z);

} // namespace owlet::loop
