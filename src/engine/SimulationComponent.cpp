#include "engine/SimulationComponent.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/RandomGenerators.h"

namespace vorel {

namespace {

constexpr const char* kKindCosine = "cosine";
constexpr const char* kKindConst = "const";
constexpr const char* kKindUniform = "noiseRR";
constexpr const char* kKindGaussian = "noiseG";

// printf-style formatting into a buffer of the display text's size, which cuts
// longer texts.
template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  char buffer[SimulationComponent::kMaxTextLength + 1];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

}  // namespace

SimulationComponent::SimulationComponent(std::string kind, std::string text)
    : kind_(std::move(kind)), text_(std::move(text)) {
  if (text_.size() > kMaxTextLength) text_.resize(kMaxTextLength);
}

bool SimulationComponent::IsKnownKind(const std::string& kind) {
  return kind == kKindCosine || kind == kKindConst || kind == kKindUniform || kind == kKindGaussian;
}

CosineComponent::CosineComponent(double A, double gamma, double alpha, double phi)
    : SimulationComponent(
          kKindCosine,
          FormatText("%.3lf * exp (%.3lf * n) cos (2 * Pi * %.3lf * n + 2 * Pi *%.3lf)", A, gamma,
                     alpha, phi)),
      A_(A),
      gamma_(gamma),
      alpha_(alpha),
      phi_(phi) {}

double CosineComponent::value(double n) const {
  const double pi = 4.0 * std::atan2(1.0, 1.0);
  return A_ * std::exp(gamma_ * n) * std::cos(2.0 * pi * (alpha_ * n + phi_));
}

std::unique_ptr<SimulationComponent> CosineComponent::Clone() const {
  return std::make_unique<CosineComponent>(A_, gamma_, alpha_, phi_);
}

ConstComponent::ConstComponent(double c)
    : SimulationComponent(kKindConst, FormatText("%.3lf", c)), c_(c) {}

std::unique_ptr<SimulationComponent> ConstComponent::Clone() const {
  return std::make_unique<ConstComponent>(c_);
}

UniformNoiseComponent::UniformNoiseComponent(double S)
    : SimulationComponent(kKindUniform,
                          FormatText("uniform noise in [-%.3f ; %.3f], standard = %.3f",
                                     S * std::sqrt(3.0), S * std::sqrt(3.0), S)),
      S_(S),
      b_(S * std::sqrt(3.0)) {}

double UniformNoiseComponent::value(double) const { return (2.0 * UniformDraw() - 1.0) * b_; }

std::unique_ptr<SimulationComponent> UniformNoiseComponent::Clone() const {
  return std::make_unique<UniformNoiseComponent>(S_);
}

GaussianNoiseComponent::GaussianNoiseComponent(double S)
    : SimulationComponent(kKindGaussian, FormatText("noise N(0,%.3f)", S)), S_(S) {}

double GaussianNoiseComponent::value(double) const { return S_ * NormalDraw(); }

std::unique_ptr<SimulationComponent> GaussianNoiseComponent::Clone() const {
  return std::make_unique<GaussianNoiseComponent>(S_);
}

ComponentList CopyComponents(const ComponentList& list) {
  ComponentList copy;
  copy.reserve(list.size());
  for (const auto& component : list) {
    if (component && SimulationComponent::IsKnownKind(component->kind())) {
      copy.push_back(component->Clone());
    }
  }
  return copy;
}

MaskedSeries SampleComponents(const ComponentList& list, int N) {
  assert(N >= 0);
  MaskedSeries series;
  series.Resize(N);
  series.values().setZero();
  series.SetAllValid(true);
  for (const auto& component : list) {
    if (!component) continue;
    for (int j = 1; j <= N; ++j) series.value(j) += component->value(j - 1);
  }
  return series;
}

}  // namespace vorel
