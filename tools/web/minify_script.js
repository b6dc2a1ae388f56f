// Minifies a script of the web page in place with what Debian's emscripten
// carries: acorn parses it, terser's printer writes it without comments or
// spaces and with short local names. Run by the build (cmake/WebSiteScript.cmake).
// Usage: NODE_PATH=/usr/share/nodejs node minify_script.js TERSER_FOLDER FILE
"use strict";
const fs = require("fs");
const acorn = require("acorn");
const terser = require(process.argv[2]);

const file = process.argv[3];
const tree = terser.AST_Node.from_mozilla_ast(acorn.parse(fs.readFileSync(file, "utf8"), { ecmaVersion: 2017 }));
tree.figure_out_scope({});
tree.compute_char_frequency({});
tree.mangle_names({});
// ASCII only, as the scripts are written: no server's idea of their encoding can spoil them.
fs.writeFileSync(file, tree.print_to_string({ beautify: false, ascii_only: true }) + "\n");
