// ESLint's recommended rules, and a few that keep the page's small scripts plain, for the page
// (a browser's script), its build and its tests (Node.js's).
import js from "@eslint/js";
import globals from "globals";

const plain = {
  "no-var": "error",
  "prefer-const": "error",
  eqeqeq: "error",
  curly: "error",
  "no-implicit-globals": "error",
  "no-shadow": "error",
  "no-use-before-define": ["error", { functions: false }],
};

export default [
  js.configs.recommended,
  {
    files: ["*.js"],
    ignores: ["eslint.config.js"],
    languageOptions: { globals: { ...globals.browser } },
    rules: plain,
  },
  {
    files: ["*.mjs", "eslint.config.js"],
    languageOptions: { globals: { ...globals.node } },
    rules: plain,
  },
  // The tests and the benchmark hand some of their functions to the page, to run there.
  {
    files: ["test/*.mjs", "bench.mjs"],
    languageOptions: { globals: { ...globals.node, ...globals.browser } },
    rules: plain,
  },
];
