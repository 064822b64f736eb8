'use strict';
// The board for a screen reader and for the keyboard alone: each pole button named by its
// key, its place and its pieces; the board as text, a table for each level; and one live
// region that announces every move, the result and the inputs that the game ignores. The
// words are Japanese where the browser's language is, English otherwise.
const accessibleBoard = (function () {
  const ENGLISH = {
    lang: 'en',
    row: r => `row ${r}`,
    column: c => `column ${c}`,
    place: (r, c) => `row ${r}, column ${c}`,
    level: n => `level ${n}`,
    list: parts => parts.join(', '),
    sentences: texts => texts.join(' '),
    dark: 'dark', light: 'light', empty: 'empty', selected: 'selected', full: 'full',
    poles: 'Poles',
    enter: 'Enter, drop a piece',
    caption: n => ['Level 1, the bottom', 'Level 2', 'Level 3', 'Level 4, the top'][n],
    start: ['You move first, with the dark pieces. Choose a pole.',
      'You move second, with the light pieces; the computer moves first.',
      'The computer plays both sides; the result will be announced.'],
    you: 'You', computer: 'Computer',
    move: (who, where) => `${who}: ${where}.`,
    yourTurn: 'Your turn.',
    outcome: { you: 'you win.', computer: 'the computer wins.',
      first: 'dark, the first mover, wins.', second: 'light, the second mover, wins.',
      draw: 'a draw.' },
    result: (moves, outcome) => `Game over after ${moves} moves: ${outcome}`,
    lastMove: (colour, where) => `Last move of ${colour}: ${where}.`,
    noMoves: 'No moves yet.',
    isFull: key => `Pole ${key} is full.`,
    noPole: 'No pole is chosen.',
    over: 'The game is over.',
  };
  const JAPANESE = {
    lang: 'ja',
    row: r => `${r}行`,
    column: c => `${c}列`,
    place: (r, c) => `${r}行${c}列`,
    level: n => `${n}段目`,
    list: parts => parts.join('、'),
    sentences: texts => texts.join(''),
    dark: '黒', light: '白', empty: '空', selected: '選択中', full: '満杯',
    poles: '柱',
    enter: 'Enter、駒を落とす',
    caption: n => ['1段目(一番下)', '2段目', '3段目', '4段目(一番上)'][n],
    start: ['あなたが先手、黒です。柱を選んでください。',
      'あなたが後手、白です。コンピュータが先に打ちます。',
      'コンピュータ同士の対局です。結果をお知らせします。'],
    you: 'あなた', computer: 'コンピュータ',
    move: (who, where) => `${who}: ${where}。`,
    yourTurn: 'あなたの番です。',
    outcome: { you: 'あなたの勝ちです。', computer: 'コンピュータの勝ちです。',
      first: '先手、黒の勝ちです。', second: '後手、白の勝ちです。', draw: '引き分けです。' },
    result: (moves, outcome) => `${moves}手で終局、${outcome}`,
    lastMove: (colour, where) => `${colour}の最後の手: ${where}。`,
    noMoves: 'まだ手はありません。',
    isFull: key => `${key} の柱は満杯です。`,
    noPole: '柱が選ばれていません。',
    over: '対局は終わっています。',
  };
  const words = /^ja\b/i.test(navigator.language) ? JAPANESE : ENGLISH;

  // The game's cells as cube4Game writes them, and its side values.
  const FIRST_PIECE = 'X', EMPTY = '.';
  const FIRST_SIDE = 1, SECOND_SIDE = 0;
  const SIZE = 4;
  const ENTER = 13;
  const cell = (row, col, level) => row * 16 + col * 4 + level;
  // The key block's top row is board row 3, its bottom row board row 0.
  const shownRow = row => SIZE - row;

  const pad = document.getElementById('pad');
  const region = document.getElementById('spoken');
  const levels = document.createElement('div');
  document.getElementById('levels').append(levels);
  for (const element of [pad, region, levels]) element.lang = words.lang;
  document.getElementById('poles').setAttribute('aria-label', words.poles);
  pad.querySelectorAll('[role="columnheader"]').forEach((header, c) => {
    header.textContent = words.column(c + 1);
  });
  pad.querySelectorAll('[role="rowheader"]').forEach((header, r) => {
    header.textContent = words.row(r + 1);
  });
  pad.querySelector('[data-key="Enter"]').setAttribute('aria-label', words.enter);

  // The board as text: the last moves, then each level's cells in the key block's layout.
  const lastMoves = levels.appendChild(document.createElement('p'));
  const levelCells = [];  // by level, row and column
  for (let level = 0; level < SIZE; ++level) {
    const table = levels.appendChild(document.createElement('table'));
    table.createCaption().textContent = words.caption(level);
    const header = table.createTHead().insertRow();
    header.appendChild(document.createElement('td'));
    for (let c = 0; c < SIZE; ++c) {
      const th = header.appendChild(document.createElement('th'));
      th.scope = 'col';
      th.textContent = words.column(c + 1);
    }
    const body = table.createTBody();
    levelCells.push([]);
    for (let row = SIZE - 1; row >= 0; --row) {
      const tr = body.insertRow();
      const th = tr.appendChild(document.createElement('th'));
      th.scope = 'row';
      th.textContent = words.row(shownRow(row));
      levelCells[level][row] = [...Array(SIZE)].map(() => tr.insertCell());
    }
  }

  const read = () => {
    const json = Module._cube4Game();
    return json === 0 ? null : JSON.parse(Module.UTF8ToString(json));
  };
  const piece = value => value === EMPTY ? words.empty
    : value === FIRST_PIECE ? words.dark : words.light;
  const poleKey = (game, row, col) => game.keys[row * SIZE + col];
  const selectedAt = (game, row, col) => game.selected[0] === row && game.selected[1] === col;
  const fullAt = (game, row, col) => game.cells[cell(row, col, SIZE - 1)] !== EMPTY;

  // A pole button's name: its key, its place, its pieces from the bottom up, and whether it
  // is selected or full.
  function poleName(game, row, col) {
    const pieces = [];
    for (let level = 0; level < SIZE && game.cells[cell(row, col, level)] !== EMPTY; ++level) {
      pieces.push(piece(game.cells[cell(row, col, level)]));
    }
    return words.list([poleKey(game, row, col), words.place(shownRow(row), col + 1),
      ...(pieces.length > 0 ? pieces : [words.empty]),
      ...(selectedAt(game, row, col) ? [words.selected] : []),
      ...(fullAt(game, row, col) ? [words.full] : [])]);
  }

  // Where the piece in cell index landed: its pole's key and place, and its level.
  function where(game, index) {
    const row = index >> 4, col = (index >> 2) & 3;
    return words.list([poleKey(game, row, col), words.place(shownRow(row), col + 1),
      words.level((index & 3) + 1)]);
  }

  let seen = null;         // the game as last read
  const last = [-1, -1];   // each side's last cell, by side
  let pending = [];        // what is still to be announced

  // The pole buttons in the key block's order, each showing the key of its pole in the
  // game's own key table.
  const poleButtons = [...pad.querySelectorAll('#poles button')];
  const buttonOf = (row, col) => poleButtons[(shownRow(row) - 1) * SIZE + col];

  function show(game) {
    if (game.keys === '') return;
    for (let row = 0; row < SIZE; ++row) {
      for (let col = 0; col < SIZE; ++col) {
        const button = buttonOf(row, col);
        const key = poleKey(game, row, col);
        if (button.dataset.key !== key) button.dataset.key = button.textContent = key;
        const name = poleName(game, row, col);
        if (button.getAttribute('aria-label') !== name) {
          button.setAttribute('aria-label', name);
        }
        for (let level = 0; level < SIZE; ++level) {
          const text = piece(game.cells[cell(row, col, level)]);
          const td = levelCells[level][row][col];
          if (td.textContent !== text) td.textContent = text;
        }
      }
    }
    const moves = [[FIRST_SIDE, words.dark], [SECOND_SIDE, words.light]]
      .filter(([side]) => last[side] >= 0)
      .map(([side, colour]) => words.lastMove(colour, where(game, last[side])));
    lastMoves.textContent = moves.length > 0 ? words.sentences(moves) : words.noMoves;
  }

  // Polite, so that it waits for the screen reader to finish; the same text again is made to
  // differ by a space, so that it is announced again.
  function speak(text) {
    region.textContent = region.textContent === text ? text + '\u00a0' : text;
  }

  function resultText(game, watched) {
    const winner = game.winner === FIRST_SIDE || game.winner === SECOND_SIDE ? game.winner : -1;
    const outcome = winner < 0 ? words.outcome.draw
      : watched ? words.outcome[winner === FIRST_SIDE ? 'first' : 'second']
        : words.outcome[game.isComputer[winner] ? 'computer' : 'you'];
    const text = words.result(game.moveCount, outcome);
    if (!watched) return text;
    // A watched game is announced only at its end: with the move that ended it.
    const side = game.moveCount % 2 === 1 ? FIRST_SIDE : SECOND_SIDE;
    return words.sentences([text, words.lastMove(side === FIRST_SIDE ? words.dark : words.light,
      where(game, last[side]))]);
  }

  // What a key did: the pole it selected, or a word on why the game ignored it.
  function keyText(before, game, key) {
    const pole = game.keys.indexOf(String.fromCharCode(key));
    if (key !== ENTER && pole < 0) return null;
    if (!before.active) return words.over;
    if (key !== ENTER) return poleName(game, pole >> 2, pole & 3);
    if (game.moveCount !== before.moveCount) return null;
    const [row, col] = game.selected;
    if (row < 0) return words.noPole;
    return fullAt(game, row, col) ? words.isFull(poleKey(game, row, col)) : null;
  }

  return {
    // The game has begun: its players are known.
    begin() {
      seen = read();
      const [second, first] = seen.isComputer;
      pending.push(words.start[first && second ? 2 : first ? 1 : 0]);
    },

    // After a key (its character code) or a turn of the event loop (key undefined): reads the
    // game, names the buttons anew and announces what happened, once the game is settled
    // (has no move or frame to come), or at once in a watched game.
    update(key, settled) {
      if (seen === null) return;
      const game = read();
      const watched = game.isComputer[0] === 1 && game.isComputer[1] === 1;
      const index = [...game.cells].findIndex((value, i) => value !== seen.cells[i]);
      if (index >= 0) {
        const side = game.cells[index] === FIRST_PIECE ? FIRST_SIDE : SECOND_SIDE;
        last[side] = index;
        const computer = game.isComputer[side] === 1;
        if (!watched) pending.push(words.move(computer ? words.computer : words.you,
          where(game, index)));
        if (game.active && computer && game.isComputer[game.sideToMove] === 0) {
          pending.push(words.yourTurn);
        }
      }
      if (seen.active && !game.active) pending.push(resultText(game, watched));
      const said = key === undefined ? null : keyText(seen, game, key);
      if (said !== null) pending.push(said);
      seen = game;
      show(game);
      if (pending.length > 0 && (settled || watched)) {
        speak(words.sentences(pending));
        pending = [];
      }
    },

    // Whether the pole of key is the selected one, so that activating its button drops.
    isSelected(key) {
      const game = read();
      const pole = game === null ? -1 : game.keys.indexOf(key);
      return pole >= 0 && selectedAt(game, pole >> 2, pole & 3);
    },
  };
})();
