// Compiled scalar programs against the general walk: every statement must
// give the same bits, or the same message, whichever way it runs.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/evaluator.h"
#include "engine/parser.h"
#include "mathlib/complex.h"
#include "tests/engine/harness.h"

namespace vx {
namespace {

struct Outcome {
    Tag tag = kNone;
    std::vector<Complex> numbers;
    std::string message;
};

bool sameBits(double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0 || (x != x && y != y); }

bool operator==(const Outcome& x, const Outcome& y) {
    if (x.tag != y.tag || x.message != y.message || x.numbers.size() != y.numbers.size()) return false;
    for (size_t k = 0; k < x.numbers.size(); ++k)
        if (!sameBits(x.numbers[k].re, y.numbers[k].re) || !sameBits(x.numbers[k].im, y.numbers[k].im)) return false;
    return true;
}

std::ostream& operator<<(std::ostream& os, const Outcome& o) {
    os << "tag " << static_cast<int>(o.tag) << " '" << o.message << "'";
    for (Complex c : o.numbers) os << ' ' << c.re << (c.im < 0 || std::signbit(c.im) ? "" : "+") << c.im << 'i';
    return os;
}

class CompiledVersusWalk : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* definition :
             {"new(a,1.5)", "new(b,-2)", "new(c,3+4i)", "new(z,0)", "new(big,1e300)", "new(L,{1,2,3})",
              "new(M,[1,2][3,4])"})
            session.run(definition);
    }

    Outcome run(const Expression& e) {
        ErrorText error;
        Eval ev(session.engine, error);
        Value v;
        Outcome o;
        try {
            o.tag = ev.evaluate(Ref{&e, e.root()}, v);
        } catch (const DivisionByZero&) {
            o.message = "division by zero escaped";
        }
        if (o.tag == kComplex) o.numbers.push_back(v.z);
        if (o.tag == kList || o.tag == kMatrix) o.numbers = v.elements;
        if (!o.tag) o.message += error.text();
        return o;
    }

    // The statement run with its compiled programs and with none.
    void expectSame(const std::string& statement) {
        Expression compiled = parseInternal(statement);
        Expression walked = compiled;
        walked.scalarPrograms.clear();
        for (Item& item : walked.items) item.scalarProgram = -1;
        ASSERT_EQ(run(compiled), run(walked)) << statement;
    }

    test::Session session;
};

TEST_F(CompiledVersusWalk, FallbacksGiveTheWalksValueOrMessage) {
    const char* statements[] = {
        "L*2+1",            // a name bound to a list
        "M^2+a",            // a matrix power inside arithmetic
        "sum(L+k,k,1,3)",   // list passes in a sum
        "sum(a*k,a,1,4)",   // a local shadows a global number
        "sum(1/(k-3),k,1,5)",  // one pass divides by zero
        "product(k+i,k,1,6)",
        "1/(a-a)+1",
        "tan(pi/2)+1",
        "i<1",              // ordering of a complex number
        "c>=a",
        "nothere*2",
        "(a+b)!+1",
        "-a^2+a*b-c/b",
        "sin(a/7)*cos(a/7)+sin(a/7)",
        "(a==1.5)+(b!=2)+(a<>b)+(a=<b)+(a=>b)",
        "sqrt(b)+ln(z)",
        "big*big-big*big",
        "exp(i*pi)+sin(pi)",
        "for(k,1,3,k*a+sin(k))",
        // Loops long enough for side-by-side passes, with passes that fail
        // at the start, middle and end of a block and a partial last block.
        "sum(1/(k-10),k,1,29)",
        "sum(1/((k-2)*(k-9)*(k-17)),k,1,17)",
        "product(1+1/(k-5),k,1,21)",
        "sum((k>3)*(i<k),k,1,12)",
        "sum(sin(k/9)*cos(k/9)+a,k,-20,20)",
        "sum(k^2,k,5,5)",
        "sum(k^2,k,5,4)",
        "sum(L,k,1,20)",
        "sum(k*%,k,1,20)",
        "listgen(1/(k-10),k,1,29)",
        "listgen(sin(k/9)*cos(k/9),k,20,-20)",
        "listgen(k^2,k,3,3)",
        "listgen(L*k,k,1,9)",
        "listgen(a*k-1,a,9,-9)",
        "listgen((k<5)+i,k,1,12)",
        // if computes both branches; one that fails where it is not taken
        // must not change the value, one that fails where taken gives the
        // walk's message; a list condition is the walk's error.
        "sum(if(k=3,0,1/(k-3)),k,1,9)",
        "sum(if(k<5,k,1/(k-7)),k,1,12)",
        "listgen(if(k<0,-k,k^2)+if(k-2,k),k,-9,9)",
        "if(i,a,b)+if(z,a)+if(z,a,b)",
        "if(L,1,2)+1",
        "if(a<b,1/z,c)*2",
    };
    for (const char* s : statements) expectSame(s);
    // '%' as a number and as a list.
    session.run("2.5");
    expectSame("%*2+%");
    session.run("{1,2}");
    expectSame("%*2+%");
}

// Random pure expressions, with shared sub-expressions so that repeated
// parts are computed once in the compiled form.
std::string randomExpression(std::mt19937& rng, int depth, std::vector<std::string>& pool) {
    static const char* const leaves[] = {"a", "b", "c", "z", "k", "i", "2", "0.5", "3", "1e-3", "pi", "big"};
    static const char* const binary[] = {"+", "-", "*", "/", "^", "<", ">", "==", "!=", "<=", ">="};
    static const char* const functions[] = {"sin", "cos", "sqrt", "ln", "exp", "abs", "tan", "atan", "gamma", "floor"};
    const int choice = static_cast<int>(rng() % 10);
    if (!pool.empty() && choice == 0) return pool[rng() % pool.size()];
    std::string e;
    if (depth <= 0 || choice < 3) {
        e = leaves[rng() % std::size(leaves)];
    } else if (choice < 7) {
        e = "(" + randomExpression(rng, depth - 1, pool) + binary[rng() % std::size(binary)] +
            randomExpression(rng, depth - 1, pool) + ")";
    } else if (choice < 9) {
        e = std::string(functions[rng() % std::size(functions)]) + "(" + randomExpression(rng, depth - 1, pool) + ")";
    } else {
        e = "(-" + randomExpression(rng, depth - 1, pool) + ")";
    }
    pool.push_back(e);
    return e;
}

TEST_F(CompiledVersusWalk, RandomExpressionsAgreeBitForBit) {
    std::mt19937 rng(2024);
    for (int n = 0; n < 3000; ++n) {
        std::vector<std::string> pool;
        const std::string e = randomExpression(rng, 5, pool);
        expectSame("sum(" + e + ",k,1," + std::to_string(4 + n % 21) + ")");
        expectSame("product(" + e + ",k,-2,1)");
        expectSame("listgen(" + e + ",k,9,-" + std::to_string(n % 13) + ")");
    }
}

}  // namespace
}  // namespace vx
