// The exact-setting search on 10,000 random reference/output pairs up to 2 GHz at 1 Hz
// resolution: prints the median time of one search in microseconds.
#include "math/ExactSetting.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

int main() {
    std::mt19937_64 random(145);
    std::uniform_int_distribution<long long> hertz(1, 2'000'000'000);
    const auto text = [](long long hz) {
        char mhz[32];
        std::snprintf(mhz, sizeof mhz, "%lld.%06lld", hz / 1'000'000, hz % 1'000'000);
        return std::string(mhz);
    };
    std::vector<double> micros;
    int exact = 0;
    for (int i = 0; i < 10'000; ++i) {
        const std::string fref = text(hertz(random));
        const std::string fout = text(hertz(random));
        const auto start = std::chrono::steady_clock::now();
        const auto setting = owlet::FindExactSetting(fref, fout);
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
        exact += setting && setting->exact();
    }
    std::nth_element(micros.begin(), micros.begin() + micros.size() / 2, micros.end());
    std::printf("%.2f %d\n", micros[micros.size() / 2], exact);
}
