#include "cli/card_sources.hpp"

#include <vector>

namespace siacci::cli {

namespace {

std::vector<CardSource>& sources()
{
    static std::vector<CardSource> all;
    return all;
}

} // namespace

bool registerCardSource(CardSource source)
{
    sources().push_back(source);
    return true;
}

CardSourceResult expandCardSources(Args& args)
{
    CardSourceResult all;
    std::vector<std::function<void(CardOptions&)>> patches;
    for (CardSource source : sources()) {
        CardSourceResult r = source(args);
        if (r.status != kExitOk)
            return r;
        all.options.insert(all.options.end(), r.options.begin(), r.options.end());
        if (r.patch)
            patches.push_back(std::move(r.patch));
        if (r.velocitySd_ms)
            all.velocitySd_ms = r.velocitySd_ms;
    }
    args.insert(args.begin(), all.options.begin(), all.options.end());
    if (!patches.empty())
        all.patch = [patches](CardOptions& o) {
            for (const auto& p : patches)
                p(o);
        };
    return all;
}

int reportSourceFailure(const CardSourceResult& source, std::string_view command,
                        std::ostream& err)
{
    if (source.status == kExitUsage)
        err << "siacci-cli " << command << ": ";
    err << source.message << "\n";
    return source.status;
}

} // namespace siacci::cli
