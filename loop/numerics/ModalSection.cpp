#include "loop/numerics/ModalSection.h"

#include <cmath>
#include <vector>

namespace owlet::loop {
namespace {

// Eigenvalues closer than this, relative, across two sections fed one way would make the
// eigenbasis ill-conditioned (its condition grows as one over their distance).
constexpr double Apart = 1e-3;

// Eigenvalues and eigenvectors of a block lower-triangular A whose diagonal blocks are
// C^-1 times a symmetric matrix: each block by Jacobi rotations on its symmetric form, the
// later blocks' parts of each eigenvector by forward substitution. False where two blocks'
// eigenvalues meet, or a substitution fails.
bool eigenbasis(const Network::StateSpace& s, Vector& lambda, Matrix& vectors) {
    const int n = s.n;
    lambda = Vector(n);
    vectors = Matrix(n);
    std::vector<std::vector<int>> blocks;
    for (int i = 0; i < n; ++i) {
        if (blocks.empty() || s.block[static_cast<std::size_t>(i)] !=
                                  s.block[static_cast<std::size_t>(blocks.back().front())])
            blocks.emplace_back();
        blocks.back().push_back(i);
    }
    std::vector<SymmetricEigen> eigen;
    for (const std::vector<int>& idx : blocks) {
        const int m = static_cast<int>(idx.size());
        Matrix sym(m);
        for (int i = 0; i < m; ++i)
            for (int j = 0; j < m; ++j) {
                const double gij = 0.5 * (s.g(idx[i], idx[j]) + s.g(idx[j], idx[i]));
                sym(i, j) = -gij / std::sqrt(s.capacitance[idx[i]] * s.capacitance[idx[j]]);
            }
        eigen.push_back(JacobiEigen(sym));
    }
    for (std::size_t k = 0; k < blocks.size(); ++k)
        for (std::size_t earlier = 0; earlier < k; ++earlier)
            for (int i = 0; i < eigen[k].values.n; ++i)
                for (int j = 0; j < eigen[earlier].values.n; ++j) {
                    const double a = eigen[k].values[i], b = eigen[earlier].values[j];
                    if (!(std::abs(a - b) > Apart * std::max(std::abs(a), std::abs(b))))
                        return false;
                }
    int column = 0;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const std::vector<int>& idx = blocks[k];
        const int m = static_cast<int>(idx.size());
        const SymmetricEigen& e = eigen[k];
        for (int i = 0; i < m; ++i) {
            lambda[column] = e.values[i];
            Vector v(n);
            for (int r = 0; r < m; ++r)
                v[idx[r]] = e.vectors(r, i) / std::sqrt(s.capacitance[idx[r]]);
            // later blocks: (lambda I - A_jj) v_j = sum over earlier rows A_ji v_i
            for (std::size_t later = k + 1; later < blocks.size(); ++later) {
                const std::vector<int>& jdx = blocks[later];
                const int q = static_cast<int>(jdx.size());
                Matrix lhs(q);
                Vector rhs(q);
                for (int r = 0; r < q; ++r) {
                    for (int c = 0; c < q; ++c)
                        lhs(r, c) = -s.a(jdx[r], jdx[c]);
                    lhs(r, r) += e.values[i];
                    for (int c = 0; c < n; ++c)
                        if (s.block[static_cast<std::size_t>(c)] <
                            s.block[static_cast<std::size_t>(jdx[0])])
                            rhs[r] += s.a(jdx[r], c) * v[c];
                }
                if (!Solve(lhs, rhs))
                    return false;
                for (int r = 0; r < q; ++r)
                    v[jdx[r]] = rhs[r];
            }
            for (int r = 0; r < n; ++r)
                vectors(r, column) = v[r];
            ++column;
        }
    }
    return true;
}

} // namespace

ModalSection::ModalSection(const Network::StateSpace& s, double u)
    : n_(s.n) {
    output_ = Vector(n_);
    offset_ = s.d * u + s.dLeak;
    Vector input(n_);
    for (int i = 0; i < n_; ++i)
        input[i] = s.b[i] * u + s.leak[i];
    modal_ = eigenbasis(s, lambda_, vectors_) && Invert(vectors_, inverse_);
    if (modal_) {
        beta_ = inverse_ * input;
        for (int j = 0; j < n_; ++j)
            for (int i = 0; i < n_; ++i)
                output_[j] += s.c[i] * vectors_(i, j);
        return;
    }
    // x' = A x + b u, 1' = 0, (integral)' = c.x + d u.
    appended_ = Matrix(n_ + 2);
    for (int i = 0; i < n_; ++i) {
        for (int j = 0; j < n_; ++j)
            appended_(i, j) = s.a(i, j);
        appended_(i, n_) = input[i];
        appended_(n_ + 1, i) = s.c[i];
        output_[i] = s.c[i];
    }
    appended_(n_ + 1, n_) = offset_;
}

const Matrix& ModalSection::exponential(double t) const {
    if (t != lastT_) {
        Matrix mt = appended_;
        for (double& e : mt.a)
            e *= t;
        lastExponential_ = Exponential(mt);
        lastT_ = t;
    }
    return lastExponential_;
}

Vector ModalSection::advance(const Vector& y, double t) const {
    Vector r(n_);
    if (modal_) {
        for (int i = 0; i < n_; ++i)
            r[i] = y[i] + (lambda_[i] * y[i] + beta_[i]) * t * Phi1(lambda_[i] * t);
        return r;
    }
    const Matrix& e = exponential(t);
    for (int i = 0; i < n_; ++i) {
        double sum = e(i, n_);
        for (int j = 0; j < n_; ++j)
            sum += e(i, j) * y[j];
        r[i] = sum;
    }
    return r;
}

double ModalSection::voltage(const Vector& y, double t) const {
    return Dot(output_, advance(y, t)) + offset_;
}

double ModalSection::voltageIntegral(const Vector& y, double t) const {
    if (!modal_) {
        const Matrix& e = exponential(t);
        double sum = e(n_ + 1, n_);
        for (int j = 0; j < n_; ++j)
            sum += e(n_ + 1, j) * y[j];
        return sum;
    }
    double sum = offset_ * t;
    for (int i = 0; i < n_; ++i)
        sum +=
            output_[i] * (y[i] * t + (lambda_[i] * y[i] + beta_[i]) * t * t * Phi2(lambda_[i] * t));
    return sum;
}

} // namespace owlet::loop
