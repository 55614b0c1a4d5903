// The progress window's chart: what the program laid out, drawn as it is in SVG whose units
// are the layout's pixels, so it scales with the page and stays sharp; and the games it
// shows in words, which screen readers read as the chart's description.
import { texts } from "./texts.js";

const SVG = "http://www.w3.org/2000/svg";
const LABEL_GAP = 3;
const SWATCH = 14;
const BAR_SWATCH_HEIGHT = 7;
const DOT_RADIUS = 1.75;

function add(parent, name, attributes, text) {
  const element = document.createElementNS(SVG, name);
  for (const [key, value] of Object.entries(attributes)) element.setAttribute(key, value);
  if (text !== undefined) element.textContent = text;
  parent.append(element);
  return element;
}

function line(parent, kind, x1, y1, x2, y2) {
  add(parent, "line", { class: kind, x1, y1, x2, y2 });
}

function dot(parent, cx, cy) {
  add(parent, "circle", { class: "dot", cx, cy, r: DOT_RADIUS });
}

// The legend's swatches in the order of its entries: speed, average, misses.
const swatches = [
  (svg, x, y) => {
    line(svg, "speed", x, y, x + SWATCH, y);
    dot(svg, x + SWATCH / 2, y);
  },
  (svg, x, y) => line(svg, "average", x, y, x + SWATCH, y),
  (svg, x, y) => add(svg, "rect", {
    class: "bar", x, y: y - BAR_SWATCH_HEIGHT / 2, width: SWATCH, height: BAR_SWATCH_HEIGHT,
  }),
];

// Draws the chart that text (the program's JSON) lays out in control.
export function drawChart(control, text) {
  const chart = JSON.parse(text);
  const svg = control.querySelector("svg");
  const [left, top, width, height] = chart.plot;
  const bottom = top + height;
  control.dataset.text = svg.querySelector("title").textContent;
  svg.setAttribute("viewBox", `0 0 ${chart.width} ${chart.height}`);
  add(svg, "rect", { class: "area", width: chart.width, height: chart.height });
  for (const [y] of chart.speedTicks) line(svg, "grid", left, y, left + width, y);
  add(svg, "rect", { class: "frame", x: left, y: top, width, height });
  for (const [y, label] of chart.speedTicks) {
    add(svg, "text", { x: left - LABEL_GAP, y, "text-anchor": "end",
                       "dominant-baseline": "central" }, label);
  }
  for (const [x, label] of chart.gameTicks) {
    add(svg, "text", { x, y: bottom + LABEL_GAP, "text-anchor": "middle",
                       "dominant-baseline": "hanging" }, label);
  }
  for (const [x, y, w, h] of chart.bars) {
    add(svg, "rect", { class: "bar", x, y, width: w, height: h });
  }
  const points = (list) => list.map(([x, y]) => `${x},${y}`).join(" ");
  add(svg, "polyline", { class: "average", points: points(chart.averages) });
  add(svg, "polyline", { class: "speed", points: points(chart.speeds) });
  for (const [x, y] of chart.speeds) dot(svg, x, y);
  chart.legend.forEach(([x, y], i) => {
    swatches[i](svg, x, y);
    add(svg, "text", { x: x + SWATCH + LABEL_GAP, y, "dominant-baseline": "central" },
        texts.get(`progress.legend.${i + 1}`));
  });
  control.querySelector(".description").textContent = chart.description;
}
