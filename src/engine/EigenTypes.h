#pragma once
// The one place where the engine names its Eigen types.

#include <Eigen/Core>
#include <cstdint>

namespace vorel {

using Vector = Eigen::VectorXd;
using Matrix = Eigen::MatrixXd;
using FlagVector = Eigen::Matrix<std::uint8_t, Eigen::Dynamic, 1>;
using FlagMatrix = Eigen::Matrix<std::uint8_t, Eigen::Dynamic, Eigen::Dynamic>;

}  // namespace vorel
