<?php
// Create a VD from free disks (adapters without arrays), or an array and
// a VD in an array slot (adapters with arrays).
declare(strict_types=1);
require_once __DIR__ . '/../lib/layout.php';
require_once __DIR__ . '/../lib/controller.php';

require_login();
$count = Controller::adapterCount();
$ok = $err = null;
if ($_SERVER['REQUEST_METHOD'] === 'POST') {
    require_post();
    $a = filter_var($_POST['adapter'] ?? null, FILTER_VALIDATE_INT, ['options' => ['min_range' => 0, 'max_range' => max(0, $count - 1)]]);
    $mode = filter_var($_POST['raid'] ?? null, FILTER_VALIDATE_INT);
    $name = is_string($_POST['name'] ?? null) ? trim($_POST['name']) : '';
    $sizeMb = filter_var($_POST['size'] ?? '0', FILTER_VALIDATE_INT, ['options' => ['min_range' => 0]]);
    $disks = array_values(array_filter(array_map('intval', (array)($_POST['pd'] ?? [])), fn($d) => $d >= 0 && $d < 65536));
    $kind = ($_POST['kind'] ?? 'vd') === 'array' ? 'array' : 'vd';
    if ($a === false || $mode === false || !array_key_exists($mode, Words::RAID_MODES)) {
        $err = 'Choose an adapter and a RAID level.';
    } elseif ($name === '' || strlen($name) > 15 || !preg_match('/^[\x20-\x7e]+$/', $name)) {
        $err = 'The name must be 1 to 15 printable characters.';
    } elseif ($sizeMb === false) {
        $err = 'The size must be a whole number of MB (0: as large as possible).';
    } elseif ($disks === []) {
        $err = 'Choose at least one physical disk.';
    } else {
        $params = $kind === 'array'
            ? ['AdapterID' => $a, 'RaidMode' => $mode, 'PDCount' => count($disks),
                'PDIDs' => implode(' ', $disks), 'Name' => $name, 'Size' => $sizeMb * 1024]
            : ['AdapterID' => $a, 'RaidMode' => $mode, 'HDCount' => count($disks),
                'HDIDs' => implode(' ', $disks), 'Name' => $name, 'Size' => $sizeMb * 1024];
        $req = $kind === 'array' ? 'KX_DG_Create' : 'KX_LD_Create';
        $rc = Rpc::retval(Rpc::call($req, $params));
        if ($rc === 0) {
            $ok = ($kind === 'array' ? 'Array' : 'VD') . " \"$name\" created on adapter $a.";
        } else {
            $err = 'The controller refused the creation: ' . Words::error($rc)
                . (Rpc::$lastError !== '' ? ' (' . Rpc::$lastError . ')' : '');
        }
    }
}

page_head('Create');
flash($ok, $err);
for ($a = 0; $a < $count; $a++) {
    $info = Controller::adapterInfo($a);
    $hasArrays = (int)($info['MaxDiskGroup'] ?? 0) !== 0;
    $free = array_filter(Controller::pds($a)['list'], fn($p) => $p['state'] === 'free');
    echo '<section><h3>Adapter ' . $a . ': ' . h($info['ModelNumber'] ?? '') . '</h3>';
    if ($free === []) {
        echo '<p>No free disks.</p></section>';
        continue;
    }
    echo '<form method="post" action="create.php" id="create-' . $a . '">' . csrf_field()
        . '<input type="hidden" name="adapter" value="' . $a . '">';
    if ($hasArrays) {
        echo '<input type="hidden" name="kind" value="array"><p>Creates an array of the chosen disks.</p>';
    } else {
        echo '<input type="hidden" name="kind" value="vd">';
    }
    echo '<label>Name <input name="name" maxlength="15" required id="name-' . $a . '"></label>';
    echo '<label>RAID level <select name="raid" id="raid-' . $a . '">';
    foreach (Words::RAID_MODES as $code => $word) {
        echo '<option value="' . $code . '">' . h($word) . '</option>';
    }
    echo '</select></label><label>Size in MB (0: largest) <input name="size" value="0" id="size-' . $a . '"></label>';
    echo '<fieldset><legend>Physical disks</legend>';
    foreach ($free as $id => $p) {
        echo '<label><input type="checkbox" name="pd[]" value="' . h($id) . '" id="pd-' . $a . '-' . h($id) . '"> PD ' . h($id)
            . ' ' . h(trim($p['Model'] ?? '')) . ' (' . h($p['Size'] ?? '') . ' KiB)</label>';
    }
    echo '</fieldset><button type="submit" id="create-submit-' . $a . '">Create</button></form></section>';
}
page_foot();
