#include "plot/sampler_pool.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <new>
#include <thread>
#include <unordered_set>

#include "engine/builtin_table.h"
#include "mathlib/complex.h"
#include "plot/thread_pool.h"

namespace vx {

int samplerThreadCount() {
    if (const char* forced = std::getenv("VEXALO_THREADS")) {
        int n = std::atoi(forced);
        if (n > 0) return n;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

void forEachRange(size_t count, size_t minimumRange, const std::function<void(size_t, size_t)>& work) {
    const size_t threads = static_cast<size_t>(samplerThreadCount());
    // A few ranges per thread, taken in turn: a thread slowed down by
    // another program on its core then does fewer of them.
    size_t ranges = std::min(threads == 1 ? 1 : 4 * threads, count / std::max<size_t>(minimumRange, 1));
    if (ranges <= 1) {
        work(0, count);
        return;
    }
    std::atomic<size_t> next{0};
    auto takeRanges = [&] {
        for (size_t r = next.fetch_add(1); r < ranges; r = next.fetch_add(1))
            work(count * r / ranges, count * (r + 1) / ranges);
    };
    HelperThreads helpers(static_cast<int>(std::min(threads, ranges)) - 1, takeRanges);
    takeRanges();
    helpers.wait();
}

namespace {

// Walks the expression and every user function it calls, each once.
bool onlyComputes(const Stores& stores, const Expression* e, std::unordered_set<const Expression*>& seen) {
    if (!e || !seen.insert(e).second) return true;
    for (const Item& item : e->items) {
        if (item.kind != kFunction) continue;
        if (builtinChangesState(item.name)) return false;
        int f = stores.findFunction(item.name);
        if (f < 0) continue;
        const auto& definition = stores.functions[static_cast<size_t>(f)].definition;
        if (definition && !onlyComputes(stores, definition->body.get(), seen)) return false;
    }
    return true;
}

SharedExpression deepCopy(const SharedExpression& e) {
    return e ? cloneSubexpression(Ref{e.get(), e->root()}) : e;
}

}  // namespace

bool samplesInParallel(const Stores& stores, const PlotRecord& record) {
    std::unordered_set<const Expression*> seen;
    if (record.hasCoords) {
        const CoordinateSystem& cs = stores.coordinates[static_cast<size_t>(record.coordSystem)];
        if (!onlyComputes(stores, cs.formula.get(), seen)) return false;
    }
    for (const SharedExpression& e : record.exprs)
        if (!onlyComputes(stores, e.get(), seen)) return false;
    return true;
}

Sampler::Sampler(const Engine& source, const PlotRecord& record, GeneratorTexts texts)
    : record(record), sourceAbort_(source.abortRequested), texts_(texts) {
    engine.stores = source.stores;
    engine.lastResult = source.lastResult;
    engine.displayDigits = source.displayDigits;
    engine.outputEnabled = 0;
    for (UserFunction& f : engine.stores.functions) {
        if (!f.inUse || !f.definition) continue;
        auto copy = std::make_shared<FunctionDefinition>(*f.definition);
        copy->body = deepCopy(copy->body);
        f.definition = std::move(copy);
    }
    for (CoordinateSystem& cs : engine.stores.coordinates)
        if (cs.inUse) cs.formula = deepCopy(cs.formula);
    for (const SharedExpression& e : record.exprs) exprs_.push_back(deepCopy(e));
}

bool Sampler::bindVariables(int count) {
    for (int k = 0; k < count; ++k) {
        int slot = scope_.push(record.varNames[static_cast<size_t>(k)], Value::scalar(0.0));
        if (slot < 0) return ev.fail(kTooManyLocals), false;
        slots_[static_cast<size_t>(k)] = slot;
    }
    return true;
}

Tag Sampler::evaluate(int graph, Value& out) {
    return evaluateGraphAt(ev, exprs_[static_cast<size_t>(graph)], out);
}

int Sampler::map2(Complex u, Complex v, Complex& x, Complex& y) {
    return mapPointToCartesian2(ev, record.coordSystem, u, v, x, y);
}

int Sampler::map3(Complex u, Complex v, Complex w, Complex& x, Complex& y, Complex& z) {
    return mapPointToCartesian3(ev, record.coordSystem, u, v, w, x, y, z);
}

namespace {

// What the threads share while they run.
struct SharedRun {
    size_t chunkPoints = 0, chunkCount = 0, points = 0, pointsPerStep = 1;
    std::atomic<size_t> nextChunk{0};
    std::atomic<size_t> firstFailure{std::numeric_limits<size_t>::max()};
    std::atomic<long long> stepsDone{0};
    std::atomic<bool> outOfMemory{false};

    std::mutex mutex;
    std::vector<Sampler*> samplers;     // for passing on an abort
    std::vector<std::string> messages;  // per chunk, of the failing ones
};

void sampleChunks(SharedRun& run, Sampler& sampler, int variables, const ChunkWork& work) {
    if (!sampler.bindVariables(variables)) {
        // Every thread binds the same names, so the first chunk fails alike.
        std::lock_guard lock(run.mutex);
        run.messages[0] = sampler.message.text();
        run.firstFailure.store(0);
        return;
    }
    for (;;) {
        size_t chunk = run.nextChunk.fetch_add(1);
        if (chunk >= run.chunkCount || chunk > run.firstFailure.load() || sampler.stopRequested()) return;
        size_t first = chunk * run.chunkPoints, end = std::min(run.points, first + run.chunkPoints);
        if (!work(sampler, first, end)) {
            std::lock_guard lock(run.mutex);
            run.messages[chunk] = sampler.message.text();
            size_t known = run.firstFailure.load();
            while (chunk < known && !run.firstFailure.compare_exchange_weak(known, chunk)) {
            }
            return;
        }
        run.stepsDone.fetch_add(static_cast<long long>((end - first) / run.pointsPerStep));
    }
}

// Lists a thread's sampler for the abort pass-on while it exists.
class Listed {
public:
    Listed(SharedRun& run, Sampler& sampler) : run_(run), sampler_(sampler) {
        std::lock_guard lock(run_.mutex);
        run_.samplers.push_back(&sampler_);
    }
    ~Listed() {
        std::lock_guard lock(run_.mutex);
        std::erase(run_.samplers, &sampler_);
    }
    Listed(const Listed&) = delete;
    Listed& operator=(const Listed&) = delete;

private:
    SharedRun& run_;
    Sampler& sampler_;
};

void samplerThread(SharedRun& run, const Engine& source, const Generator& gen, int variables, const ChunkWork& work) {
    try {
        Sampler sampler(source, gen.record, gen.texts);
        Listed listed(run, sampler);
        sampleChunks(run, sampler, variables, work);
    } catch (const std::bad_alloc&) {
        run.outOfMemory.store(true);
        run.firstFailure.store(0);  // nothing else is reported then
    }
}

}  // namespace

int sampleOnThreads(Generator& gen, int threads, int variables, size_t points, size_t pointsPerStep,
                    const ChunkWork& work) {
    SharedRun run;
    run.points = points;
    run.pointsPerStep = pointsPerStep;
    run.chunkPoints = std::max<size_t>(512 / pointsPerStep, 1) * pointsPerStep;
    run.chunkCount = (points + run.chunkPoints - 1) / run.chunkPoints;
    run.messages.resize(run.chunkCount);
    const double totalSteps = static_cast<double>(points / pointsPerStep);
    Engine& engine = gen.ev.engine;
    HelperThreads helpers(threads, [&] { samplerThread(run, engine, gen, variables, work); });
    if (helpers.count() == 0) throw std::bad_alloc();  // reported as for one thread
    int shown = -1;
    for (bool done = false; !done;) {
        done = helpers.waitFor(std::chrono::milliseconds(10));
        if (engine.abortRequested.load() != 0) {
            std::lock_guard lock(run.mutex);
            for (Sampler* s : run.samplers) s->engine.abortRequested.store(1);
        }
        int percent = static_cast<int>(static_cast<double>(run.stepsDone.load()) * 100.0 / totalSteps);
        if (percent != shown) {
            shown = percent;
            gen.status(gen.texts.progress, percent);
        }
    }
    helpers.wait();
    if (gen.aborted()) return 0;
    if (run.outOfMemory.load()) throw std::bad_alloc();  // reported as for one thread
    size_t failed = run.firstFailure.load();
    if (failed < run.chunkCount) return gen.ev.fail("%s", run.messages[failed].c_str()), 0;
    return 1;
}

}  // namespace vx
