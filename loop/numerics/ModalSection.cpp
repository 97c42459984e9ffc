#include "loop/numerics/ModalSection.h"

#include <cmath>
#include <vector>

namespace owlet::loop {
namespace {

// Eigenvalues and eigenvectors of a block lower-triangular A whose diagonal blocks are
// C^-1 times a symmetric matrix: each block by Jacobi rotations on its symmetric form, the
// later blocks' parts of each eigenvector by forward substitution.
void eigenbasis(Network::StateSpace s, Vector& lambda, Matrix& vectors) {
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
    std::vector<std::vector<double>> values(blocks.size());
    int column = 0;
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const std::vector<int>& idx = blocks[k];
        const int m = static_cast<int>(idx.size());
        for (int pass = 0; pass < 8; ++pass) {
            Matrix sym(m);
            for (int i = 0; i < m; ++i)
                for (int j = 0; j < m; ++j) {
                    const double gij = 0.5 * (s.g(idx[i], idx[j]) + s.g(idx[j], idx[i]));
                    sym(i, j) = -gij / std::sqrt(s.capacitance[idx[i]] * s.capacitance[idx[j]]);
                }
            const SymmetricEigen e = JacobiEigen(sym);
            bool apart = true;
            for (std::size_t earlier = 0; earlier < k && apart; ++earlier)
                for (const double mu : values[earlier])
                    for (int i = 0; i < m; ++i) {
                        const double scale = std::max(std::abs(mu), std::abs(e.values[i]));
                        if (std::abs(mu - e.values[i]) <= 1e-7 * scale)
                            apart = false;
                    }
            if (!apart && pass < 7) {
                for (int i = 0; i < m; ++i) { // the section a millionth faster
                    s.capacitance[idx[i]] /= 1.000001;
                    for (int j = 0; j < n; ++j)
                        s.a(idx[i], j) *= 1.000001;
                }
                continue;
            }
            for (int i = 0; i < m; ++i) {
                values[k].push_back(e.values[i]);
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
                    Solve(lhs, rhs);
                    for (int r = 0; r < q; ++r)
                        v[jdx[r]] = rhs[r];
                }
                for (int r = 0; r < n; ++r)
                    vectors(r, column) = v[r];
                ++column;
            }
            break;
        }
    }
}

} // namespace

ModalSection::ModalSection(const Network::StateSpace& s, double u)
    : n_(s.n) {
    eigenbasis(s, lambda_, vectors_);
    Invert(vectors_, inverse_);
    Vector input(n_);
    for (int i = 0; i < n_; ++i)
        input[i] = s.b[i] * u;
    beta_ = inverse_ * input;
    output_ = Vector(n_);
    for (int j = 0; j < n_; ++j)
        for (int i = 0; i < n_; ++i)
            output_[j] += s.c[i] * vectors_(i, j);
    offset_ = s.d * u;
}

Vector ModalSection::advance(const Vector& y, double t) const {
    Vector r(n_);
    for (int i = 0; i < n_; ++i)
        r[i] = y[i] + (lambda_[i] * y[i] + beta_[i]) * t * Phi1(lambda_[i] * t);
    return r;
}

double ModalSection::voltage(const Vector& y, double t) const {
    return Dot(output_, advance(y, t)) + offset_;
}

double ModalSection::voltageIntegral(const Vector& y, double t) const {
    double sum = offset_ * t;
    for (int i = 0; i < n_; ++i)
        sum +=
            output_[i] * (y[i] * t + (lambda_[i] * y[i] + beta_[i]) * t * t * Phi2(lambda_[i] * t));
    return sum;
}

} // namespace owlet::loop
