// The page's terminal: what bin2dec writes, with what was typed echoed where the program was
// reading it, and a field to type in. Everything shown of a run is the module's own output.
import { run } from "./run.js";

// The module, compiled, or on its way: load.js, in the page's head, began it.
const compiling = window.bin2decModule;

const screen = document.getElementById("screen");
const field = document.getElementById("line");
const endButton = document.getElementById("end");
const report = document.getElementById("report");

const encoder = new TextEncoder();
const decoder = new TextDecoder();

let module = null;
let earlierRuns = ""; // the text of the runs that have ended, kept above the current one
let typed = []; // the current run's input: each piece typed, and where in the output it was read
let ended = false;
let waitingAt = 0; // how much the current run had written when it waited for input
let queue = Promise.resolve(); // what was typed, passed on in order, one run at a time

function inputBytes() {
  return encoder.encode(typed.map((piece) => piece.text).join(""));
}

// The run as a terminal shows it: each piece typed, echoed at the point of the output where the
// program was waiting for it.
function transcript(output) {
  let text = "";
  let from = 0;
  for (const piece of typed) {
    text += decoder.decode(output.slice(from, piece.at)) + piece.text;
    from = piece.at;
  }
  return text + decoder.decode(output.slice(from));
}

// For a screen reader: the report's two lines, without the frame of asterisks around them.
function announce(output) {
  const lines = decoder.decode(output).split("\n");
  report.textContent = lines.filter((line) => line !== "" && !/^\*+$/.test(line)).slice(1).join(" ");
}

function show(text) {
  screen.textContent = earlierRuns + text;
  field.scrollIntoView({ block: "nearest" });
}

// Runs the program on everything typed in this run, and shows what it wrote. A run that ends is
// kept above, and a new one offers the prompt again.
async function advance() {
  let result = await run(module, inputBytes(), ended);
  if (result.finished) {
    earlierRuns += transcript(result.output);
    announce(result.output);
    typed = [];
    ended = false;
    result = await run(module, inputBytes(), ended);
  }
  waitingAt = result.output.length;
  show(transcript(result.output));
}

function showFailure(error) {
  screen.textContent = `${earlierRuns}bin2dec stopped in this browser: ${error.message}`;
}

// Passes what is in the field to the program: a line with its line end (Enter), or what is there
// followed by the end of input (Ctrl-D).
function send(endsInput) {
  const text = endsInput ? field.value : `${field.value}\n`;
  field.value = "";
  queue = queue
    .then(() => {
      if (text !== "") {
        typed.push({ text, at: waitingAt });
      }
      ended = endsInput;
      return advance();
    })
    .catch(showFailure);
}

field.addEventListener("keydown", (event) => {
  if (event.key === "Enter") {
    event.preventDefault();
    send(false);
  } else if (event.ctrlKey && event.key.toLowerCase() === "d") {
    event.preventDefault(); // a browser's own Ctrl-D (a bookmark) is not meant here
    send(true);
  }
});
endButton.addEventListener("click", () => {
  send(true);
  field.focus();
});

queue = compiling
  .then((compiled) => {
    module = compiled;
    return advance();
  })
  .then(() => field.focus())
  .catch(showFailure);
