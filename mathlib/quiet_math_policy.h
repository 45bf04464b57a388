#pragma once
// The Boost.Math error policy of our special functions: overflow, underflow,
// poles and domain errors give IEEE values (INF, 0, NaN), never exceptions,
// as the rest of the arithmetic does. Included only by the .cpp files that
// call Boost.Math.
#include <boost/math/policies/policy.hpp>

namespace vx {

namespace math_policies = boost::math::policies;
using QuietMathPolicy = math_policies::policy<math_policies::domain_error<math_policies::ignore_error>,
                                              math_policies::pole_error<math_policies::ignore_error>,
                                              math_policies::overflow_error<math_policies::ignore_error>,
                                              math_policies::underflow_error<math_policies::ignore_error>,
                                              math_policies::evaluation_error<math_policies::ignore_error>>;

}  // namespace vx
