#!/usr/bin/env bash
# Fails, naming the places, when a C++ file of the tree is not as the
# project's .clang-format has it; `clang-format -i FILE` mends one.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
