/* Quorvane's skin: a quiet light look with one blue accent. A Qt style sheet, applied to the whole
   program at start when it lies at x/o.cjs beside the program. */

QWidget {
  color: #1f2933;
}

QGroupBox {
  border: 1px solid #c3ccd6;
  border-radius: 4px;
  margin-top: 9px;
}

QGroupBox::title {
  subcontrol-origin: margin;
  left: 8px;
  padding: 0 3px;
  color: #24528a;
}

QPushButton {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdfe, stop:1 #e6ebf1);
  border: 1px solid #a9b5c3;
  border-radius: 4px;
  padding: 0 4px;
}

QPushButton:hover {
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #dbe7f5);
  border-color: #3a7bc8;
}

QPushButton:pressed {
  background: #cfdcec;
}

QPushButton:focus {
  border-color: #3a7bc8;
}

QLineEdit, QComboBox, QTreeView {
  background: #ffffff;
  border: 1px solid #b5c0cc;
  border-radius: 3px;
  selection-background-color: #3a7bc8;
  selection-color: #ffffff;
}

QLineEdit {
  padding: 0 4px;
}

QLineEdit:focus, QComboBox:focus, QTreeView:focus {
  border-color: #3a7bc8;
}

QComboBox {
  padding: 0 6px;
}

QHeaderView::section {
  background: #eef2f6;
  border: none;
  border-bottom: 1px solid #c3ccd6;
  border-right: 1px solid #d5dce4;
  padding: 2px 6px;
}

QProgressBar {
  background: #ffffff;
  border: 1px solid #b5c0cc;
  border-radius: 3px;
  text-align: center;
}

QProgressBar::chunk {
  background: #7fb0e6;
}
