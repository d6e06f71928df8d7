// The page: gathers the files and options, hands them to the worker that runs
// the program, and shows what the program printed and wrote.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const code = (id) => $(id).textContent;
  const worker = new Worker(URL.createObjectURL(
    new Blob([code('core-code'), '\n', code('worker-code')], { type: 'text/javascript' })));

  let chosen = []; // { name, path, file }
  let started = 0;
  let reading = 0; // milliseconds spent reading the chosen files

  function show(list, items, classOf) {
    list.replaceChildren(...items.map((text) => {
      const item = document.createElement('li');
      item.textContent = text;
      const kind = classOf && classOf(text);
      if (kind) item.className = kind;
      return item;
    }));
  }

  function choose(files) {
    chosen = files;
    show($('chosen'), chosen.map((file) => file.path));
  }

  // A finding is a line in the form FILE:LINE:COLUMN: severity: text.
  const severity = (line) => (/: (error|warning|note): /.exec(line) || [])[1];

  function link(id, name, bytes, type) {
    const anchor = document.createElement('a');
    anchor.id = id;
    anchor.download = name;
    anchor.textContent = `Download ${name}`;
    anchor.href = URL.createObjectURL(new Blob([bytes], { type }));
    return anchor;
  }

  function clearResults() {
    for (const anchor of $('downloads').querySelectorAll('a')) {
      URL.revokeObjectURL(anchor.href);
    }
    for (const id of ['summary', 'problems', 'findings', 'downloads', 'picture']) {
      $(id).replaceChildren();
    }
  }

  function showResults({ results, problems, worker }) {
    const summary = [];
    const findings = [];
    // Findings apart; every other line the program printed (its summary, the
    // count of errors that kept it from writing) stays in the summary.
    for (const result of results) {
      for (const line of [...result.out, ...result.err]) {
        (severity(line) ? findings : summary).push(line);
      }
    }
    $('summary').textContent = summary.join('\n');
    show($('problems'), problems);
    show($('findings'), findings, severity);
    const converted = results.find((result) => result.args[0] === 'convert');
    if (converted && converted.status === 0) {
      $('downloads').append(link('download-report', 'lightcurve-aavso.txt', converted.report,
        'text/plain'));
      if (converted.picture) {
        $('downloads').append(link('download-picture', 'lightcurve-aavso.svg', converted.picture,
          'image/svg+xml'));
        // The program's own picture, shown from its <svg> on (the XML declaration
        // has no place inside a page).
        const text = new TextDecoder().decode(converted.picture);
        $('picture').innerHTML = text.slice(text.indexOf('<svg'));
      }
    }
    const failed = results.some((result) => result.status !== 0) || problems.length > 0;
    const program = results.reduce((sum, result) => sum + result.milliseconds, 0);
    $('status').textContent = `${failed ? 'Finished with errors' : 'Done'} in ${
      Math.round(performance.now() - started)} ms (reading the files ${Math.round(reading)} ms, the program ${
      Math.round(program)} ms, its worker ${Math.round(worker)} ms)`;
    document.body.dataset.state = failed ? 'failed' : 'done';
  }

  worker.onmessage = ({ data }) => {
    if (data.kind === 'ready') {
      $('version').textContent = data.version;
      // Options the program of this page does not know yet stay off.
      $('colour').disabled = !data.capabilities.colour;
      $('pair-within').disabled = !data.capabilities.pairWithin;
      $('merr').disabled = !data.capabilities.merr;
      $('merr-window').disabled = !data.capabilities.merr;
      $('run').disabled = false;
      $('status').textContent = 'Ready';
      document.body.dataset.state = 'ready';
    } else if (data.kind === 'progress') {
      $('progress').value = data.done / data.total;
      $('status').textContent = `Reading the table: ${Math.round((100 * data.done) / data.total)} %`;
    } else if (data.kind === 'done') {
      $('progress').hidden = true;
      $('run').disabled = false;
      showResults(data);
    } else {
      $('status').textContent = `The page could not start: ${data.text}`;
    }
  };

  async function run() {
    clearResults();
    $('run').disabled = true;
    $('progress').hidden = false;
    $('progress').value = 0;
    $('status').textContent = 'Converting…';
    document.body.dataset.state = 'running';
    started = performance.now();
    const files = await Promise.all(chosen.map(async ({ name, path, file }) =>
      ({ name, path, bytes: new Uint8Array(await file.arrayBuffer()) })));
    reading = performance.now() - started;
    worker.postMessage({
      files,
      options: {
        checkStar: $('check-star').checked,
        date: $('date').value,
        colour: $('colour').value.trim(),
        pairWithin: $('pair-within').value.trim(),
        merr: $('merr').value,
        merrWindow: $('merr-window').value.trim(),
      },
    }, files.map((file) => file.bytes.buffer));
  }

  // Folders dropped on the page are read whole, each file with its path.
  async function entriesOf(entry, path) {
    if (entry.isFile) {
      const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
      return [{ name: file.name, path: path + file.name, file }];
    }
    const reader = entry.createReader();
    const found = [];
    for (;;) {
      const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
      if (batch.length === 0) break;
      for (const child of batch) found.push(...await entriesOf(child, `${path}${entry.name}/`));
    }
    return found;
  }

  $('files').addEventListener('change', () => choose([...$('files').files].map((file) =>
    ({ name: file.name, path: file.webkitRelativePath || file.name, file }))));
  $('run').addEventListener('click', run);
  const drop = $('drop');
  drop.addEventListener('dragover', (event) => {
    event.preventDefault();
    drop.classList.add('over');
  });
  drop.addEventListener('dragleave', () => drop.classList.remove('over'));
  drop.addEventListener('drop', async (event) => {
    event.preventDefault();
    drop.classList.remove('over');
    const entries = [...event.dataTransfer.items].map((item) => item.webkitGetAsEntry());
    const files = (await Promise.all(entries.map((entry) => entriesOf(entry, '')))).flat();
    choose(files);
    if (!$('run').disabled) run();
  });
})();
