#!/usr/bin/env bash
# Renders docs/manual.md with its figures to a PDF: pandoc makes a standalone HTML page
# and WeasyPrint lays it out (Debian packages pandoc and weasyprint; no LaTeX). @VERSION@
# becomes VERSION, by default the CMake project version.
# Usage: tools/manual/build_pdf.sh OUT.pdf [VERSION]
set -euo pipefail
[ $# -eq 1 ] || [ $# -eq 2 ] || { echo "usage: $0 OUT.pdf [VERSION]" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "$1")
for tool in pandoc weasyprint; do
  command -v "$tool" >/dev/null || { echo "build_pdf: $tool is missing: install the package $tool" >&2; exit 2; }
done
version=${2:-$(sed -n 's/^project(MERO VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")}
[[ $version =~ ^[0-9A-Za-z.+~-]+$ ]] || { echo "build_pdf: no usable version ('$version')" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# WeasyPrint does not scale Graphviz's SVG to the page: the PDF takes the PNG copy.
sed -e "s/@VERSION@/$version/g" -e 's|(manual/signal-flow\.svg)|(manual/signal-flow.png)|' \
  "$root/docs/manual.md" >"$work/manual.md"
pandoc "$work/manual.md" --from markdown --to html5 --standalone --toc --toc-depth=2 \
  --css "$root/tools/manual/manual.css" --metadata lang=en -o "$work/manual.html"
mkdir -p "$(dirname "$out")"
# Image paths in the manual are relative to docs/.
weasyprint --base-url "$root/docs/" "$work/manual.html" "$work/manual.pdf" 2>"$work/weasyprint.log" || {
  cat "$work/weasyprint.log" >&2
  exit 1
}
mv "$work/manual.pdf" "$out"
echo "build_pdf: wrote $out (MERO $version)"
