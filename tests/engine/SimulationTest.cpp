#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/RandomGenerators.h"
#include "engine/SimulationComponent.h"

namespace vorel {
namespace {

// The congruential generator written out with 64-bit arithmetic, independent of
// the engine's 32-bit wrap-around.
struct ReferenceUniform {
  std::uint64_t x;
  double Next() {
    x = (x * 663608941ull) % 4294967296ull;
    return static_cast<double>(x) * 2.32830643654e-10;
  }
};

// One polar-method pair from the reference uniform sequence.
std::pair<double, double> ReferenceNormalPair(ReferenceUniform& u) {
  for (;;) {
    const double y1 = 2.0 * u.Next() - 1.0;
    const double y2 = 2.0 * u.Next() - 1.0;
    const double s = y1 * y1 + y2 * y2;
    if (s < 1.0) {
      const double f = std::sqrt(-2.0 * std::log(s) / s);
      return {y1 * f, y2 * f};
    }
  }
}

TEST(RandomGenerators, FirstDrawsAfterSeedingEleven) {
  SeedRandomGenerators(11);
  const std::uint64_t first = (663608941ull * 11ull) % 4294967296ull;
  EXPECT_EQ(UniformDraw(), static_cast<double>(first) * 2.32830643654e-10);
  EXPECT_EQ(ProcessUniformGenerator().state(), first);
  const std::uint64_t second = (663608941ull * first) % 4294967296ull;
  EXPECT_EQ(UniformDraw(), static_cast<double>(second) * 2.32830643654e-10);
}

TEST(RandomGenerators, SeedIsMadeOddAndDrawsStayInsideTheOpenInterval) {
  struct Case {
    std::uint32_t seed, state;
  };
  const Case cases[] = {{11u, 11u}, {10u, 11u}, {0u, 1u}, {0xFFFFFFFEu, 0xFFFFFFFFu}};
  for (const Case& c : cases) {
    UniformGenerator g;
    g.Seed(c.seed);
    EXPECT_EQ(g.state(), c.state) << c.seed;
    ReferenceUniform ref{c.state};
    for (int k = 0; k < 1000; ++k) {
      const double u = g.Next();
      ASSERT_EQ(u, ref.Next()) << c.seed << " draw " << k;
      ASSERT_GT(u, 0.0);
      ASSERT_LT(u, 1.0);
      ASSERT_EQ(g.state() % 2u, 1u);
    }
  }
}

TEST(RandomGenerators, NormalValuesComeInPairsWithTheSecondCached) {
  SeedRandomGenerators(11);
  ReferenceUniform ref{11};
  const auto [a1, a2] = ReferenceNormalPair(ref);
  const auto [b1, b2] = ReferenceNormalPair(ref);

  EXPECT_FALSE(ProcessNormalGenerator().hasPending());
  EXPECT_DOUBLE_EQ(NormalDraw(), a1);
  const std::uint32_t stateAfterFirst = ProcessUniformGenerator().state();
  EXPECT_TRUE(ProcessNormalGenerator().hasPending());
  EXPECT_DOUBLE_EQ(NormalDraw(), a2);
  // The cached value costs no uniform draw.
  EXPECT_EQ(ProcessUniformGenerator().state(), stateAfterFirst);
  EXPECT_DOUBLE_EQ(NormalDraw(), b1);
  EXPECT_DOUBLE_EQ(NormalDraw(), b2);

  // Seeding again is a fresh start: the pending value is dropped.
  NormalDraw();
  ASSERT_TRUE(ProcessNormalGenerator().hasPending());
  SeedRandomGenerators(11);
  EXPECT_FALSE(ProcessNormalGenerator().hasPending());
  EXPECT_DOUBLE_EQ(NormalDraw(), a1);
}

TEST(SimulationComponent, DisplayTextsAndKinds) {
  struct Case {
    std::unique_ptr<SimulationComponent> component;
    std::string kind, text;
  };
  std::vector<Case> cases;
  cases.push_back({std::make_unique<CosineComponent>(1.0, -0.01, 0.25, 0.5), "cosine",
                   "1.000 * exp (-0.010 * n) cos (2 * Pi * 0.250 * n + 2 * Pi *0.500)"});
  cases.push_back({std::make_unique<ConstComponent>(2.5), "const", "2.500"});
  cases.push_back({std::make_unique<ConstComponent>(-0.0004), "const", "-0.000"});
  cases.push_back({std::make_unique<UniformNoiseComponent>(1.0), "noiseRR",
                   "uniform noise in [-1.732 ; 1.732], standard = 1.000"});
  cases.push_back({std::make_unique<GaussianNoiseComponent>(0.25), "noiseG", "noise N(0,0.250)"});
  for (const Case& c : cases) {
    EXPECT_EQ(c.component->kind(), c.kind);
    EXPECT_EQ(c.component->text(), c.text);
  }
}

TEST(SimulationComponent, LongDisplayTextIsCutAt99Characters) {
  const double big = 1e150;
  char full[400];
  std::snprintf(full, sizeof full, "%.3lf", big);
  ASSERT_GT(std::string(full).size(), 99u);
  ConstComponent c(big);
  EXPECT_EQ(c.text(), std::string(full).substr(0, 99));
  EXPECT_EQ(c.value(0), big);  // the parameter itself is not cut
}

TEST(SimulationComponent, CosineAndConstValues) {
  CosineComponent quarter(1.0, 0.0, 0.25, 0.0);
  const double expected[] = {1, 0, -1, 0, 1, 0, -1};
  for (int n = 0; n < 7; ++n) EXPECT_NEAR(quarter.value(n), expected[n], 1e-12) << n;

  CosineComponent damped(2.0, -0.1, 0.1, 0.25);
  const double pi = std::acos(-1.0);
  for (int n = 0; n < 5; ++n) {
    EXPECT_NEAR(damped.value(n), 2.0 * std::exp(-0.1 * n) * std::cos(2 * pi * (0.1 * n + 0.25)),
                1e-14);
  }
  ConstComponent c(-3.25);
  EXPECT_EQ(c.value(0), -3.25);
  EXPECT_EQ(c.value(41), -3.25);
}

TEST(SimulationComponent, NoiseValuesFollowTheGenerators) {
  UniformNoiseComponent uniform(1.0);
  EXPECT_DOUBLE_EQ(uniform.b(), std::sqrt(3.0));
  SeedRandomGenerators(11);
  ReferenceUniform ref{11};
  for (int n = 0; n < 50; ++n) {
    const double v = uniform.value(n);
    EXPECT_DOUBLE_EQ(v, (2.0 * ref.Next() - 1.0) * std::sqrt(3.0));
    EXPECT_LE(std::abs(v), std::sqrt(3.0));
  }

  GaussianNoiseComponent gauss(0.5);
  SeedRandomGenerators(11);
  ReferenceUniform ref2{11};
  const auto [z1, z2] = ReferenceNormalPair(ref2);
  EXPECT_DOUBLE_EQ(gauss.value(0), 0.5 * z1);
  EXPECT_DOUBLE_EQ(gauss.value(1), 0.5 * z2);
}

TEST(SimulationComponent, CopiesAreBuiltByKindAndUnknownKindsAreSkipped) {
  class OtherComponent : public SimulationComponent {
   public:
    OtherComponent() : SimulationComponent("other", "other") {}
    double value(double) const override { return 7.0; }
    std::unique_ptr<SimulationComponent> Clone() const override {
      return std::make_unique<OtherComponent>();
    }
  };
  ComponentList list;
  list.push_back(std::make_unique<CosineComponent>(1.5, 0.01, 0.1, 0.2));
  list.push_back(std::make_unique<OtherComponent>());
  list.push_back(std::make_unique<ConstComponent>(4.0));
  list.push_back(std::make_unique<UniformNoiseComponent>(2.0));
  list.push_back(std::make_unique<GaussianNoiseComponent>(3.0));

  const ComponentList copy = CopyComponents(list);
  ASSERT_EQ(copy.size(), 4u);
  const SimulationComponent* originals[] = {list[0].get(), list[2].get(), list[3].get(),
                                            list[4].get()};
  for (size_t k = 0; k < copy.size(); ++k) {
    EXPECT_NE(copy[k].get(), originals[k]);
    EXPECT_EQ(copy[k]->kind(), originals[k]->kind());
    EXPECT_EQ(copy[k]->text(), originals[k]->text());
  }
  const auto* cosine = dynamic_cast<const CosineComponent*>(copy[0].get());
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(cosine->A(), 1.5);
  EXPECT_EQ(cosine->gamma(), 0.01);
  EXPECT_EQ(cosine->alpha(), 0.1);
  EXPECT_EQ(cosine->phi(), 0.2);
  const auto* noise = dynamic_cast<const UniformNoiseComponent*>(copy[2].get());
  ASSERT_NE(noise, nullptr);
  EXPECT_EQ(noise->S(), 2.0);
  EXPECT_DOUBLE_EQ(noise->b(), 2.0 * std::sqrt(3.0));
}

TEST(SampleComponents, ConstantSeries) {
  ComponentList list;
  list.push_back(std::make_unique<ConstComponent>(2.5));
  const MaskedSeries s = SampleComponents(list, 5);
  ASSERT_EQ(s.length(), 5);
  for (int t = 1; t <= 5; ++t) {
    EXPECT_EQ(s.value(t), 2.5);
    EXPECT_TRUE(s.isValid(t));
  }
  EXPECT_EQ(SampleComponents(ComponentList{}, 3).values(), Vector::Zero(3));
}

TEST(SampleComponents, ComponentsAreEvaluatedOneAfterTheOtherOverAllSamples) {
  ComponentList list;
  list.push_back(std::make_unique<UniformNoiseComponent>(1.0));
  list.push_back(std::make_unique<CosineComponent>(1.0, 0.0, 0.25, 0.0));
  list.push_back(std::make_unique<GaussianNoiseComponent>(2.0));
  SeedRandomGenerators(11);
  const MaskedSeries s = SampleComponents(list, 3);

  // All uniform draws of the first component come before the normal draws.
  ReferenceUniform ref{11};
  double expected[3];
  for (double& e : expected) e = (2.0 * ref.Next() - 1.0) * std::sqrt(3.0);
  const double cosine[] = {1.0, 0.0, -1.0};
  const auto [z1, z2] = ReferenceNormalPair(ref);
  const auto [z3, z4] = ReferenceNormalPair(ref);
  (void)z4;
  const double normal[] = {z1, z2, z3};
  for (int t = 1; t <= 3; ++t) {
    EXPECT_NEAR(s.value(t), expected[t - 1] + cosine[t - 1] + 2.0 * normal[t - 1], 1e-12) << t;
  }
}

}  // namespace
}  // namespace vorel
